#include "DataTables.h"

namespace velnor {
namespace {

constexpr Months all12(double v)
{
    return {v, v, v, v, v, v, v, v, v, v, v, v};
}

template <typename Row>
int LastIndexOfName(const std::vector<Row>& table, std::string_view name)
{
    for (int i = static_cast<int>(table.size()) - 1; i >= 0; --i)
        if (table[static_cast<std::size_t>(i)].Name == name)
            return i;
    return NotFound;
}

} // namespace

const std::array<std::string, 12> TblDataMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

const Months TblWatSupCons = all12(120);

const T4Str4Str12R IndicatEToRec = {
    {"Desert", "Arid", "Semiarid", "Humid"},
    {"less than 15\u00B0C", "15-25\u00B0C", "greater than 25\u00B0C"},
    {4, 7, 9, 4, 6, 8, 3, 5, 7, 1, 3, 5},
};

const std::array<TStrInt, 5> WatUsTypRec = {{
    {"Water Supply", 1},
    {"Farming", 2},
    {"Industry", 3},
    {"Irrigation", 4},
    {"Group", -1},
}};

const std::array<TStrInt, 6> MetDataRecSt = {{
    {"Min Temp.(C)", 1},
    {"Max Temp.(C)", 2},
    {"Rel.Humidity", 3},
    {"Rel.Sunshine", 4},
    {"Wnd.Speed (m/s)", 5},
    {"Heat index", 6},
}};

const std::array<TStrInt12R, 7> AnimalsRecSt = {{
    {"Cattles", 1, all12(70)},
    {"Sheeps", 2, all12(15)},
    {"Goats", 3, all12(15)},
    {"Pigs", 4, all12(15)},
    {"Horses", 5, all12(70)},
    {"Rabbits", 6, all12(2)},
    {"Chickens", 7, all12(0.5)},
}};

// Stage ends (days after sowing: initial, development, mid-season, late season),
// then Kc ini, Kc mid, Kc end.
const std::array<TStrInt7R, 50> CropsRecSt = {{
    {"Cereals: Barley", 1, {20, 45, 105, 135, 0.3, 1.15, 0.25}},
    {"Cereals: Corn (grain)", 2, {27, 72, 125, 160, 0.3, 1.2, 0.6}},
    {"Cereals: Millet", 3, {20, 50, 105, 140, 0.3, 1, 0.3}},
    {"Cereals: Oats", 4, {20, 45, 105, 135, 0.3, 1.15, 0.25}},
    {"Cereals: Rice", 5, {30, 60, 120, 150, 1.05, 1.2, 0.9}},
    {"Cereals: Sorghum", 6, {20, 55, 100, 130, 0.3, 1, 0.55}},
    {"Cereals: Wheat", 7, {20, 45, 105, 135, 0.3, 1.15, 0.25}},
    {"Fibre Crops: Cotton", 8, {45, 135, 180, 225, 0.35, 1.15, 0.7}},
    {"Fibre Crops: Flax", 9, {25, 60, 110, 150, 0.35, 1.1, 0.25}},
    {"Forages: Alfalfa", 10, {10, 30, 50, 60, 0.4, 0.95, 0.9}},
    {"Fruit Trees: Fruit trees", 11, {60, 150, 270, 365, 0.8, 1, 0.8}},
    {"Fruit Trees: Olive", 12, {30, 120, 180, 270, 0.65, 0.7, 0.7}},
    {"Fruit Trees: Pistachios", 13, {20, 80, 110, 150, 0.4, 1.1, 0.45}},
    {"Fruit Trees: Walnut", 14, {20, 30, 160, 190, 0.5, 1.1, 0.65}},
    {"Grapes: Grapes", 15, {20, 70, 145, 205, 0.3, 0.85, 0.45}},
    {"Legumes: Beans (dry)", 16, {20, 50, 80, 90, 0.4, 1.15, 0.35}},
    {"Legumes: Beans (green)", 17, {20, 50, 80, 90, 0.5, 1.05, 0.9}},
    {"Legumes: Lentil", 18, {20, 50, 110, 150, 0.4, 1.1, 0.3}},
    {"Legumes: Peas, Faba bean, broad bean", 19, {20, 50, 85, 100, 0.4, 1.15, 0.3}},
    {"Legumes: Soybeans", 20, {20, 45, 120, 150, 0.4, 1.15, 0.5}},
    {"Oil crops: Castor beans", 21, {25, 65, 130, 180, 0.35, 1.15, 0.55}},
    {"Oil crops: Groundnuts", 22, {35, 80, 115, 140, 0.4, 1.15, 0.6}},
    {"Oil crops: Safflower", 23, {20, 55, 100, 125, 0.35, 1, 0.25}},
    {"Oil crops: Sesame", 24, {20, 50, 90, 110, 0.35, 1.1, 0.25}},
    {"Oil crops: Sunflower", 25, {25, 60, 105, 130, 0.35, 1, 0.35}},
    {"Roots: Beets", 26, {15, 40, 60, 70, 0.5, 1.05, 0.95}},
    {"Roots: Potato", 27, {30, 65, 115, 145, 0.5, 1.15, 0.75}},
    {"Roots: Potato sweet", 28, {20, 50, 110, 150, 0.5, 1.15, 0.65}},
    {"Roots: Sugar beet", 29, {30, 75, 165, 180, 0.35, 1.2, 0.7}},
    {"Tobacco: Tobacco", 30, {10, 35, 70, 105, 0.35, 1.2, 0.75}},
    {"Vegetables: Artichokes", 31, {40, 80, 330, 360, 0.5, 1, 0.95}},
    {"Vegetables: Asparagus", 32, {90, 120, 320, 365, 0.5, 0.95, 0.3}},
    {"Vegetables: Cabbage", 33, {40, 100, 150, 165, 0.7, 1.05, 0.95}},
    {"Vegetables: Carrots", 34, {30, 70, 130, 150, 0.7, 1.05, 0.95}},
    {"Vegetables: Celery", 35, {25, 65, 160, 180, 0.7, 1.05, 1}},
    {"Vegetables: Crucifers", 36, {20, 50, 70, 80, 0.7, 0.95, 0.8}},
    {"Vegetables: Cucumber", 37, {20, 50, 90, 105, 0.5, 1, 0.8}},
    {"Vegetables: Eggplant", 38, {30, 75, 115, 140, 0.6, 1.05, 0.9}},
    {"Vegetables: Lettuce", 39, {20, 50, 65, 75, 0.7, 1, 0.95}},
    {"Vegetables: Melons", 40, {25, 60, 100, 120, 0.5, 1.05, 0.75}},
    {"Vegetables: Onion (dry)", 41, {15, 40, 110, 150, 0.7, 1.05, 0.75}},
    {"Vegetables: Onion (green)", 42, {25, 55, 65, 70, 0.7, 1, 1}},
    {"Vegetables: Peppers", 43, {30, 65, 105, 125, 0.6, 1.05, 0.9}},
    {"Vegetables: Pumpkin", 44, {20, 50, 80, 100, 0.5, 1, 0.8}},
    {"Vegetables: Radishes", 45, {5, 15, 30, 35, 0.7, 0.9, 0.85}},
    {"Vegetables: Spinach", 46, {20, 40, 60, 65, 0.7, 1, 0.95}},
    {"Vegetables: Squash", 47, {20, 50, 75, 90, 0.5, 1, 0.8}},
    {"Vegetables: Strawberries", 48, {20, 45, 295, 325, 0.4, 0.85, 0.75}},
    {"Vegetables: Tomato", 49, {30, 70, 115, 145, 0.6, 1.15, 0.8}},
    {"Vegetables: Water Melons", 50, {20, 50, 80, 110, 0.4, 1, 0.75}},
}};

// Intake, discharge and consumption of one unit, hm3 per month.
const std::array<TStr12R12R12R, 15> IndustRecSt = {{
    {"Food", 1, {0.0144, 0.0149, 0.0149, 0.0151, 0.0182, 0.0206, 0.0202, 0.0216, 0.0225, 0.0189, 0.0166, 0.0146}, {0.0129, 0.0132, 0.0132, 0.0134, 0.0163, 0.0183, 0.018, 0.0193, 0.02, 0.0168, 0.0147, 0.013}, {0.0016, 0.0016, 0.0016, 0.0016, 0.002, 0.0023, 0.0022, 0.0024, 0.0025, 0.0021, 0.0018, 0.0016}},
    {"Beverages", 2, {0.0447, 0.0411, 0.0532, 0.052, 0.0574, 0.0592, 0.0495, 0.0495, 0.0477, 0.0495, 0.0526, 0.0471}, {0.0344, 0.0316, 0.0409, 0.0399, 0.0441, 0.0455, 0.0381, 0.0381, 0.0367, 0.0381, 0.0404, 0.0362}, {0.0103, 0.0095, 0.0123, 0.012, 0.0133, 0.0137, 0.0115, 0.0115, 0.011, 0.0115, 0.0122, 0.0109}},
    {"Rubber Products", 3, {0.0103, 0.01, 0.0104, 0.0103, 0.0107, 0.0107, 0.0105, 0.0119, 0.0117, 0.0109, 0.0101, 0.0095}, {0.0094, 0.0092, 0.0096, 0.0094, 0.0098, 0.0098, 0.0097, 0.011, 0.0107, 0.01, 0.0093, 0.0087}, {0.0008, 0.0008, 0.0008, 0.0008, 0.0009, 0.0009, 0.0009, 0.001, 0.0009, 0.0009, 0.0008, 0.0008}},
    {"Plastic Products", 4, {0.0027, 0.0027, 0.0027, 0.0029, 0.0016, 0.0017, 0.0018, 0.0018, 0.0017, 0.0018, 0.003, 0.0027}, {0.0025, 0.0025, 0.0025, 0.0026, 0.0015, 0.0015, 0.0016, 0.0016, 0.0015, 0.0016, 0.0027, 0.0024}, {0.0003, 0.0003, 0.0003, 0.0003, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0003, 0.0003}},
    {"Primary Textiles", 5, {0.0598, 0.0528, 0.0578, 0.0598, 0.0727, 0.0977, 0.0967, 0.1016, 0.1206, 0.1196, 0.0797, 0.0777}, {0.0583, 0.0515, 0.0564, 0.0583, 0.071, 0.0953, 0.0943, 0.0992, 0.1177, 0.1167, 0.0778, 0.0758}, {0.0014, 0.0013, 0.0014, 0.0014, 0.0018, 0.0024, 0.0023, 0.0025, 0.0029, 0.0029, 0.0019, 0.0019}},
    {"Textile Products", 6, {0.0236, 0.0243, 0.0249, 0.0252, 0.0284, 0.0284, 0.0239, 0.0274, 0.029, 0.029, 0.029, 0.0265}, {0.0203, 0.0209, 0.0214, 0.0217, 0.0244, 0.0244, 0.0206, 0.0236, 0.025, 0.025, 0.025, 0.0228}, {0.0033, 0.0034, 0.0035, 0.0035, 0.004, 0.004, 0.0034, 0.0038, 0.0041, 0.0041, 0.0041, 0.0037}},
    {"Wood Products", 7, {0.0098, 0.0096, 0.0094, 0.0073, 0.0083, 0.0098, 0.0084, 0.0069, 0.0073, 0.0078, 0.0063, 0.0075}, {0.0072, 0.0071, 0.0069, 0.0053, 0.0061, 0.0072, 0.0062, 0.005, 0.0053, 0.0057, 0.0046, 0.0055}, {0.0026, 0.0026, 0.0025, 0.0019, 0.0022, 0.0026, 0.0023, 0.0018, 0.0019, 0.0021, 0.0017, 0.002}},
    {"Paper + Allied Products", 8, {0.6836, 0.6259, 0.6671, 0.6342, 0.6671, 0.6918, 0.7659, 0.7742, 0.7165, 0.7, 0.6671, 0.6506}, {0.6231, 0.5705, 0.6081, 0.578, 0.6081, 0.6306, 0.6981, 0.7056, 0.6531, 0.6381, 0.6081, 0.593}, {0.0605, 0.0554, 0.059, 0.0561, 0.059, 0.0612, 0.0678, 0.0685, 0.0634, 0.062, 0.059, 0.0576}},
    {"Primary Metals", 9, {0.5246, 0.5181, 0.5377, 0.5312, 0.5443, 0.5181, 0.5508, 0.5705, 0.5771, 0.5836, 0.5508, 0.5508}, {0.4804, 0.4744, 0.4924, 0.4864, 0.4984, 0.4744, 0.5044, 0.5224, 0.5284, 0.5344, 0.5044, 0.5044}, {0.0442, 0.0437, 0.0453, 0.0448, 0.0459, 0.0437, 0.0465, 0.0481, 0.0487, 0.0492, 0.0465, 0.0465}},
    {"Fabricated Metals", 10, {0.003, 0.0029, 0.0029, 0.0028, 0.003, 0.0031, 0.003, 0.003, 0.0031, 0.003, 0.003, 0.0027}, {0.0029, 0.0028, 0.0027, 0.0026, 0.0028, 0.0029, 0.0029, 0.0028, 0.003, 0.0029, 0.0029, 0.0026}, {0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002, 0.0002}},
    {"Transportation Equipment", 11, {0.01, 0.0099, 0.0093, 0.0098, 0.0101, 0.01, 0.0096, 0.0107, 0.0104, 0.0096, 0.0105, 0.0091}, {0.0071, 0.007, 0.0066, 0.0069, 0.0072, 0.0071, 0.0068, 0.0076, 0.0074, 0.0068, 0.0074, 0.0064}, {0.0029, 0.0029, 0.0027, 0.0028, 0.0029, 0.0029, 0.0028, 0.0031, 0.003, 0.0028, 0.003, 0.0026}},
    {"Non-Metallic Mineral Products", 12, {0.0107, 0.01, 0.0111, 0.0111, 0.0118, 0.0122, 0.0132, 0.0127, 0.0128, 0.0125, 0.0117, 0.0107}, {0.0087, 0.0081, 0.009, 0.009, 0.0096, 0.0099, 0.0107, 0.0103, 0.0104, 0.0102, 0.0095, 0.0087}, {0.002, 0.0019, 0.0021, 0.0021, 0.0022, 0.0023, 0.0025, 0.0024, 0.0024, 0.0024, 0.0022, 0.002}},
    {"Petroleum + Coal Products", 13, {1.1252, 1.0429, 1.1389, 1.0703, 1.1664, 1.1801, 1.2762, 1.2624, 1.2213, 1.0978, 1.0841, 1.0703}, {1.0569, 0.9796, 1.0698, 1.0053, 1.0956, 1.1084, 1.1987, 1.1858, 1.1471, 1.0311, 1.0182, 1.0053}, {0.0683, 0.0633, 0.0692, 0.065, 0.0708, 0.0717, 0.0775, 0.0767, 0.0742, 0.0667, 0.0658, 0.065}},
    {"Chemical Products", 14, {0.1742, 0.1631, 0.1724, 0.1724, 0.1724, 0.1297, 0.1186, 0.1168, 0.1409, 0.1557, 0.1612, 0.1761}, {0.1601, 0.1499, 0.1584, 0.1584, 0.1584, 0.1192, 0.109, 0.1073, 0.1295, 0.1431, 0.1482, 0.1618}, {0.0141, 0.0132, 0.0139, 0.0139, 0.0139, 0.0105, 0.0096, 0.0094, 0.0114, 0.0126, 0.013, 0.0142}},
    {"Thermoelectric/MW", 15, {0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104, 0.00104}, {0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042, 0.00042}, {0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063, 0.00063}},
}};

std::vector<TStr12R12R12R> IndustRec;
std::vector<TStrInt7R> CropsRec;
std::vector<TStrInt12R> AnimalsRec;
std::vector<TStrInt> MetDataRec;

void StaticToDynamic()
{
    AnimalsRec.assign(AnimalsRecSt.begin(), AnimalsRecSt.end());
    CropsRec.assign(CropsRecSt.begin(), CropsRecSt.end());
    IndustRec.assign(IndustRecSt.begin(), IndustRecSt.end());
    MetDataRec.assign(MetDataRecSt.begin(), MetDataRecSt.end());
}

int FindAnimIndxName(std::string_view AnimName)
{
    return LastIndexOfName(AnimalsRec, AnimName);
}

int FindAnimIndxId(int idanim)
{
    return idanim - 1;
}

int FindIndIndxName(std::string_view IndName)
{
    return LastIndexOfName(IndustRec, IndName);
}

int FindIndIndxId(int industid)
{
    return industid - 1;
}

int FindCropIndxName(std::string_view CropName)
{
    return LastIndexOfName(CropsRec, CropName);
}

int FindCropIndxId(int idcrop)
{
    return idcrop - 1;
}

int FindWatUsTypeIndxName(std::string_view WatUsName)
{
    for (int i = static_cast<int>(WatUsTypRec.size()) - 1; i >= 0; --i)
        if (WatUsTypRec[static_cast<std::size_t>(i)].Name == WatUsName)
            return i;
    return NotFound;
}

int FindWatUsTypeIndxId(int id)
{
    for (int i = static_cast<int>(WatUsTypRec.size()) - 1; i >= 0; --i)
        if (WatUsTypRec[static_cast<std::size_t>(i)].id == id)
            return i;
    return NotFound;
}

} // namespace velnor
