#include "screens/series/series.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterSeries() {
  RegisterProcedure("BrowseSermonSeries", BrowseSermonSeries);
  RegisterProcedure("UpdateSermonSeries", UpdateSermonSeries);
  RegisterProcedure("UpdateSeriesPublicity", UpdateSeriesPublicity);
}

}  // namespace vesp
