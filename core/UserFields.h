#pragma once

namespace velnor {

// Copies the fields that a water user and its fixed-size form share, all but
// the consumptors.
template <typename From, typename To>
void CopyUserFields(const From& from, To& to)
{
    to.Category = from.Category;
    to.Geo_id = from.Geo_id;
    to.Toponym = from.Toponym;
    to.UnitsNum = from.UnitsNum;
    to.MethId = from.MethId;
    to.Latitude = from.Latitude;
    to.Height = from.Height;
    to.YearNeeds = from.YearNeeds;
    to.TblConsumpt = from.TblConsumpt;
    to.TblMnthMaxT = from.TblMnthMaxT;
    to.TblMnthMinT = from.TblMnthMinT;
    to.TblRelHum = from.TblRelHum;
    to.TblRelSun = from.TblRelSun;
    to.TblWindSp = from.TblWindSp;
    to.TblMonthNeeds = from.TblMonthNeeds;
}

} // namespace velnor
