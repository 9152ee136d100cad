#pragma once
// Song rotation: when each bibliography entry was first and last used (BBL:FIRSTUSED,
// BBL:LASTUSED) — the earliest and latest week-of date of the dated services whose elements
// name it, 0 when no dated service does — and how many services use it.
//
// RegisterSongRotation makes the relation manager keep the dates in step (records/upkeep.h):
// saving or deleting an element recomputes its entry (both entries when the number changed),
// and changing a service's date recomputes every entry its elements name, each inside the
// transaction of the write itself. Data written by other means is put right by
// RecomputeAllSongUse (vesp-data check --repair).
#include <cstdint>

#include "runtime/store/data_file.h"
#include "runtime/text/dates.h"

namespace vesp {

struct SongUseDates {
  vrt::DayNumber first = 0, last = 0;
  bool operator==(const SongUseDates&) const = default;
};

// An entry's dates, from its elements (found by number on the elements' side index) and
// their services. The files must be open; their cursors and buffers stay as they are.
bool SongUseOf(vrt::DataFile& services, vrt::DataFile& elements, std::int32_t entry, SongUseDates& out);
// Stores them in the entry when they differ from what it holds (an entry no longer on file
// is left alone).
bool RecomputeSongUse(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography,
                      std::int32_t entry);
// The number of distinct services whose elements name the entry; -1 when it cannot be read.
int TimesUsed(vrt::DataFile& elements, std::int32_t entry);

// Every entry's dates from one pass over the services and elements, stored where they
// differ (unless `write` is false) in one transaction; the number of entries that differed,
// or -1 on failure with the thread's error state set. The files must be open for writing.
int RecomputeAllSongUse(vrt::DataFile& services, vrt::DataFile& elements, vrt::DataFile& bibliography,
                        bool write = true);

// Registers the upkeep of the service and element tables.
void RegisterSongRotation();

}  // namespace vesp
