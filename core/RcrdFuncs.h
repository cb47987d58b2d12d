#pragma once

#include "WaterUser.h"

#include <string_view>
#include <vector>

namespace velnor {

// Evapotranspiration method codes (TWaterUser::MethId).
enum : int {
    MethNone = 0,
    MethEmpirical = 1,
    MethBlaneyCriddle = 2,
    MethModBlaneyCriddle = 3,
    MethPenmanMonteith = 4,
};

// Number of 12-month series of the meteorological input of a method (0 for none).
int MeteoSeriesCount(int method);

// Water supply: fills WatUserRec[irec] (population, consumption in l/p/d) and its needs.
void AddRecordSup(int geo_id, std::string_view Toponym, int population, const Months& TblConsumpt,
                  int irec);

// Consumptor irec of the global WatConsRec, grown to irec + 1 entries when shorter.
// A consumptor created by the call gets the reference defaults; one that existed
// keeps its values.
void AddExRecFarm(int Cnsmpid, int n, int irec);
void AddExRecInd(int CnsmpId, int n, int irec);
void AddExRecIrig(const std::vector<double>& TblMeteoData, double phi, int arid, int semd, int method,
                  int CnsmpId, int n, int irec);
void AddExRecGrp(int wuId, int n, int irec);
// As AddExRecGrp, for a member already found at WatUserRec[member] (NotFound when missing).
void AddExRecGrpAt(int wuId, int member, int irec);

// Stores the meteorological input of the irrigation user WatUserRec[lrec].
void AddMeteoData(const std::vector<double>& TblMeteoData, double phi, int arid, int method, int lrec);

// Normalises humidity and sunshine and computes the monthly ETo (mm) with the method.
// Months the method leaves unwritten are 0.
void WrapPotEvap(const std::vector<double>& TblMeteoData, Months& TblMonthEvap, double phi, int arid,
                 int method, bool refcrop);

// Reads the meteorological input back from an irrigation user (the inverse of AddMeteoData).
std::vector<double> MeteoDataOf(const TWaterUser& user, double& phi, int& arid);

// Writes the global WatConsRec into WatUserRec[wurec] with its needs; an empty
// WatConsRec drops the user (and groups left empty). Units that add up beyond a
// 32-bit integer throw InputError and change nothing.
void ExToIntRec(int idwatus, std::string_view Toponym, int geo_id, int wurec);

// Recomputes the totals of every group from its members.
void RefreshYrNeeds();

// While a batch is open, AddRecordSup and ExToIntRec leave the group totals to the
// end of the batch, where one RefreshYrNeeds gives the totals that refreshing after
// every step would have given. For building a whole scenario at once; nothing may
// read a group's YearNeeds or TblMonthNeeds before the batch closes. (A deletion in
// a batch leaves its groups summed afresh rather than decreased.)
class GroupRefreshBatch {
public:
    GroupRefreshBatch();
    ~GroupRefreshBatch();
    GroupRefreshBatch(const GroupRefreshBatch&) = delete;
    GroupRefreshBatch& operator=(const GroupRefreshBatch&) = delete;
};

} // namespace velnor
