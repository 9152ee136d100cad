#include <gtest/gtest.h>

#include "runtime/settings/sector_list.h"

namespace vrt {
namespace {

TEST(SectorList, SectionNameEscapesDollarsOfTheItemOnly) {
  EXPECT_EQ(sectorSectionName({"Owner", "Item", "Kind"}), "Owner$Item$$Kind");
  EXPECT_EQ(sectorSectionName({"Owner", "a$b", "Kind"}), "Owner$a$$$b$$Kind");
  EXPECT_EQ(sectorSectionName({"Owner", "", ""}), "Owner$$$");
}

TEST(SectorList, EveryItemComesBackFromItsSectionName) {
  for (const char* item : {"", "$", "$$", "$$$", "a$", "$a", "a$$b", "price $5", "a,b"}) {
    for (const char* kind : {"", "Kind", "K$ind", "K$$"}) {
      const Sector sector{"Owner", item, kind};
      EXPECT_EQ(parseSectorSectionName(sectorSectionName(sector)), sector) << item << " / " << kind;
    }
  }
}

TEST(SectorList, NamesThatAreNotSectorsAreRefused) {
  EXPECT_EQ(parseSectorSectionName("BrowseService"), std::nullopt);
  EXPECT_EQ(parseSectorSectionName("Owner$ItemWithoutEnd"), std::nullopt);
  EXPECT_EQ(parseSectorSectionName("Owner$a$$$"), std::nullopt);  // only an escaped "$", no end
}

TEST(SectorList, PartsThatCouldNotBeToldApartAreRefused) {
  EXPECT_EQ(makeSector("Own$er", "Item", "Kind"), std::nullopt);
  EXPECT_EQ(makeSector("Own,er", "Item", "Kind"), std::nullopt);
  EXPECT_EQ(makeSector("Owner", "Item", "Ki,nd"), std::nullopt);
  EXPECT_EQ(makeSector("Owner", "Item", "$Kind"), std::nullopt);
  EXPECT_EQ(makeSector("Owner", "It,e$m", "Kind"), (Sector{"Owner", "It,e$m", "Kind"}));
  EXPECT_EQ(makeSector(std::string(150, 'o'), "i", "k")->owner, std::string(kSectorPartLimit, 'o'));
}

TEST(SectorList, RowsJoinThePartsAndReadBackWithCommasInTheItem) {
  const Sector sector{"Owner", "one, two", "Kind"};
  EXPECT_EQ(sectorRow(sector), "Owner,one, two,Kind");
  EXPECT_EQ(parseSectorRow(sectorRow(sector)), sector);
  EXPECT_EQ(parseSectorRow("Owner,,"), (Sector{"Owner", "", ""}));
  EXPECT_EQ(parseSectorRow("Owner,Kind"), std::nullopt);
  EXPECT_EQ(parseSectorRow(""), std::nullopt);
}

}  // namespace
}  // namespace vrt
