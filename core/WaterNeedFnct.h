#pragma once

#include "DataTables.h"

#include <span>

namespace velnor {

// Reference evapotranspiration and crop water need. Pure functions; a year has
// 365 days and pi is taken as 3.14159. Months are numbered 1..12 in DaysOfMonth,
// MidleMonthDay, DayHoursOfMonth and RadSol, 0..11 elsewhere. ETo in mm per month.

int DaysOfMonth(int imonth);
int MidleMonthDay(int imonth);
int FirstMonthDay(int imonth);
// Daylight hours of the whole month. Throws VelnorError when the sun never sets
// or never rises at that latitude (|latitude| beyond about 66.5).
double DayHoursOfMonth(double Phi, int imonth);

// Throws VelnorError ("Range check error") for a heat index or zone out of range.
void Empirical(const Months& TblMonthTemps, Months& TblMonthEvap, int arid);
void Blaney(const Months& TblMonthTemps, Months& TblMonthEvap, double Phi);
// Months below 0 degC are left as they are.
void Blaney_mod(const Months& TblMonthTemps, const Months& TblRelHum, const Months& TblRelSun,
                const Months& TblWindSp, Months& TblMonthEvap, double Phi);

double SoilHeatFlux(const Months& TblMnthMeanT, int imonth);
double RadSol(double phi, double n_N, int imonth, bool refcrop);
double RadLong(double tmax, double tmin, double rhmean, double n_N, double z, bool refcrop);
double PresVap(double t);
double SatPrsVap(double tmax, double tmin);
double ActPrsVap(double tmax, double tmin, double rhmean);
double Delta(double t);
double Gama(double z);
void Penman(const Months& TblMnthMaxT, const Months& TblMnthMinT, const Months& TblRelHum,
            const Months& TblRelSun, const Months& TblWindSp, Months& TblMonthEvap, double Phi,
            double z, bool refcrop);

// TblKc: stage ends 0..3 (days after sowing), Kc ini, Kc mid, Kc end (at least 7 values).
double Kc(std::span<const double> TblKc, int Day);
double CropNeed(double refevap, std::span<const double> TblKc, int semDay, int month);

} // namespace velnor
