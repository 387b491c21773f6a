#include "cli/holidays_command.h"

#include "cli/write_lock.h"
#include "core/holidays/holiday_sets.h"
#include "core/holidays/holiday_table.h"
#include "core/store/cell_table.h"
#include "core/store/helpers.h"
#include "platform/data_lock.h"

#include <iostream>

namespace dw::cli {

namespace {

// A refusal: the message goes to stderr, exit status 1.
struct Refusal {
    std::string message;
};

// A wrong country or holiday name: the message and the valid choices go to stderr, exit
// status 2.
struct UnknownChoice {
    std::string message;
    std::vector<std::string> choices;
};

int countryOf(const std::string& name) {
    const int country = holidayCountryIndex(name);
    if (country < 0) {
        UnknownChoice unknown{"unknown country: " + name, {}};
        for (const std::string_view c : builtInHolidayCountries())
            unknown.choices.emplace_back(c);
        throw unknown;
    }
    return country;
}

// The list positions of the named holidays, in list order.
std::vector<int> positionsNamed(int country, const std::vector<std::string>& names) {
    std::string unknownName;
    std::vector<int> positions = countryHolidaysNamed(country, names, unknownName);
    if (!unknownName.empty()) {
        UnknownChoice unknown{
            "no holiday of " +
                std::string(builtInHolidayCountries()[static_cast<std::size_t>(country)]) +
                " is named " + unknownName,
            {}};
        for (const BuiltInHoliday& e : countryHolidays(country))
            unknown.choices.push_back(std::string(e.code) + "\t" + std::string(e.name));
        throw unknown;
    }
    return positions;
}

int importInto(const std::string& dataDir, int country, const std::vector<int>& positions,
               const FormatSettings& fs, const std::vector<std::string>& reportedErrors) {
    DataDirLock lock(dataDir);
    if (const auto refusal = takeWriteLock(lock, dataDir))
        throw Refusal{*refusal};
    const std::string path = joinPath(dataDir, "holiday.grd");
    CellTable table = makeHolidayTable();
    try {
        loadTableIfPresent(table, path, false);
    } catch (const TableFileError& e) {
        throw Refusal{e.what()};
    }
    const std::vector<CellTable::Row> added = importHolidays(table, country, positions, fs);
    if (!table.saveTable(path) || !reportedErrors.empty())
        throw Refusal{reportedErrors.empty() ? "the file could not be saved"
                                             : reportedErrors.front()};
    for (const CellTable::Row& row : added) {
        for (std::size_t col = 0; col < row.size(); ++col)
            std::cout << (col ? "\t" : "") << row[col];
        std::cout << '\n';
    }
    return 0;
}

} // namespace

int holidaysImportCommand(Args& args, const std::string& dataDir, const FormatSettings& fs,
                          const std::vector<std::string>& reportedErrors) {
    try {
        const bool all = args.takeFlag("--all");
        const int country = countryOf(args.requirePositional("COUNTRY"));
        std::vector<std::string> names;
        while (const auto name = args.takePositional())
            names.push_back(*name);
        if (all == !names.empty())
            throw UsageError{"holidays import: give --all or the names of the holidays"};
        std::vector<int> positions;
        if (all) {
            for (int i = 0; i < static_cast<int>(countryHolidays(country).size()); ++i)
                positions.push_back(i);
        } else {
            positions = positionsNamed(country, names);
        }
        return importInto(dataDir, country, positions, fs, reportedErrors);
    } catch (const UnknownChoice& e) {
        std::cerr << "dayweaver-cli: " << e.message << "\nChoose one of:\n";
        for (const std::string& choice : e.choices)
            std::cerr << "  " << choice << '\n';
        return 2;
    } catch (const Refusal& e) {
        std::cerr << "dayweaver-cli: " << e.message << '\n';
        return 1;
    }
}

} // namespace dw::cli
