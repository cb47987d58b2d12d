#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace velnor::cli {

// One value of the meteorological grid as typed: no value when it is not a number.
struct MeteoCell {
    std::optional<double> value;
    bool integral = false;   // written as a whole number
    bool empty = false;      // nothing was typed
    bool outOfRange = false; // a number beyond the range of a double
};

// The checked input of an evapotranspiration method, ready for WrapPotEvap.
struct MeteoInput {
    int method = 0;
    double phi = 0;
    int arid = 0;
    std::vector<double> data; // series by series, 12 months each
};

// "penman-monteith", "mod-blaney-criddle", "blaney-criddle" or "empirical" to the method code.
int ParseMethod(const std::string& name);

// Number of columns of a method's grid.
int MeteoColumns(int method);

// A cell from its text: a real number in the '.' form, blanks around it ignored.
MeteoCell ParseMeteoCell(const std::string& text);

// The cells of one line of text as pasted from a spreadsheet. Tabs and commas each
// end a cell, so two in a row leave an empty cell between them; on a line without
// them, runs of blanks separate the cells.
std::vector<MeteoCell> SplitMeteoLine(const std::string& line);

// The rows of a whole text, one per line that holds anything but separators.
// A UTF-8 byte-order mark at its start is skipped. Throws IoError when reading fails.
std::vector<std::vector<MeteoCell>> ReadMeteoRows(std::istream& in);

// The checks of the meteorological form's OK, in its order and with its messages.
// rows: 12 months of the method's columns, left to right. Throws InputError.
MeteoInput CheckMeteoData(int method, const std::vector<std::vector<MeteoCell>>& rows,
                          std::optional<double> latitude, std::optional<int> zone);

} // namespace velnor::cli
