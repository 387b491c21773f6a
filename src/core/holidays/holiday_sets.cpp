#include "core/holidays/holiday_sets.h"

#include "core/holidays/holiday_rules.h"
#include "core/holidays/holiday_table.h"
#include "core/text/lower_text.h"

#include <algorithm>
#include <array>

namespace dw {

namespace {

constexpr std::array<std::string_view, 23> kCountries{
    "Australia",       "Austria",        "Belgium",      "Brazil",      "Canada - English",
    "Canada - French", "Denmark",        "Finland",      "France",      "Germany",
    "Ireland",         "Italy",          "Japan",        "Netherlands", "New Zealand",
    "Norway",          "Portugal",       "South Africa", "Spain",       "Sweden",
    "Switzerland",     "United Kingdom", "United States"};

// Kept as they have always been shipped. Two are known to be wrong: Finland's "Dec25" is
// named "Jouluaato" (that is Christmas Eve, "Dec24"), and Spain's "Viernes Santo" (Good
// Friday, which moves with Easter) is fixed on "Sep13".
constexpr BuiltInHoliday kHolidays[] = {
    // Australia
    {0, "Jan01", "New Year's Day"},
    {0, "Apr25", "ANZAC Day"},
    {0, "Jun08", "Queen's Birthday"},
    {0, "12Oct", "Labour Day"},
    {0, "Dec26", "Boxing Day"},
    {0, "Dec25", "Christmas"},
    // Austria
    {1, "Jan01", "Neujahr"},
    {1, "Jan06", "Heilige Drei Könige"},
    {1, "May01", "Staatsfeiertag"},
    {1, "Aug15", "Mariä Himmelfahrt"},
    {1, "Oct26", "Nationalfeiertag"},
    {1, "Nov01", "Allerheiligen"},
    {1, "Dec08", "Mariä Empfängnis"},
    {1, "Dec25", "Weihnachtstag"},
    {1, "Dec26", "Stephanstag"},
    // Belgium
    {2, "Jan01", "Nieuwjaar/Jour de l'An"},
    {2, "May01", "Feest va de Arbeid/Fête du Travail"},
    {2, "Jul11", "Feest Ned. Cultuurgem./Fête Comm. cult. néerl."},
    {2, "Jul21", "Nationale Feestdag/Fête Nationale"},
    {2, "Aug15", "O.L.V.-Hemelvaart./Assomption"},
    {2, "Sep27", "Feest. Franst. Cultuurgem./Fête Comm. cult. franç"},
    {2, "Nov01", "Allerheiligen/Toussaint"},
    {2, "Nov11", "Wapenstilstand 1918/Armistice 1918"},
    {2, "Dec25", "Kerstmis/Noël"},
    // Brazil
    {3, "Jan01", "Confr. Universal"},
    {3, "Jan06", "Santos Reis"},
    {3, "Apr21", "Tiradentes"},
    {3, "May01", "Festa do Trabalho"},
    {3, "Jun29", "São Pedro"},
    {3, "Aug15", "Assunção N. Senhora"},
    {3, "Sep07", "Indep. do Brasil"},
    {3, "Oct12", "N. Sra. Aparecida"},
    {3, "Nov01", "Todos os Santos"},
    {3, "Nov02", "Finados"},
    {3, "Nov15", "Procl. da Rep."},
    {3, "Dec08", "Imaculada Conceição"},
    {3, "Dec25", "Natal"},
    {3, "Dec31", "São Silvestre"},
    // Canada - English
    {4, "Jan01", "New Year's Day"},
    {4, "32May", "Victoria Day"},
    {4, "Jul01", "Canada Day"},
    {4, "12Aug", "Civic Holiday"},
    {4, "12Sep", "Labour Day"},
    {4, "Oct12", "Thanksgiving Day"},
    {4, "Nov11", "Remembrance Day"},
    {4, "Dec25", "Christmas"},
    {4, "Dec26", "Boxing Day"},
    // Canada - French
    {5, "Jan01", "Jour de l'An"},
    {5, "32May", "Fête de Dollard"},
    {5, "Jun24", "Fête Nationale des Québecois"},
    {5, "Jul01", "Jour de la Confédération"},
    {5, "12Sep", "Fête du Travail"},
    {5, "Oct12", "Jour d'Action de Grâces"},
    {5, "Nov11", "Jour du Souvenir"},
    {5, "Dec25", "Noël"},
    {5, "Dec26", "Lendemain de Noël"},
    // Denmark
    {6, "Jan01", "Nytår"},
    {6, "May01", "1. Maj"},
    {6, "Jun05", "Grundlovsdag"},
    {6, "Dec25", "Juledag"},
    {6, "Dec26", "2. Juledag"},
    // Finland
    {7, "Jan01", "Uudenvuodenpäivä"},
    {7, "Jan06", "Loppiainen"},
    {7, "May01", "Vappu"},
    {7, "Dec06", "Itsenäisyyspäivä"},
    {7, "Dec24", "Jouluaato"},
    {7, "Dec25", "Jouluaato"},
    {7, "Dec26", "2. joulupäivä"},
    // France
    {8, "Jan01", "Jour de l'An"},
    {8, "May01", "Fête du Travail"},
    {8, "May08", "Armistice 1945"},
    {8, "Jul14", "Fête Nationale"},
    {8, "Aug15", "Assomption"},
    {8, "Nov01", "Toussaint"},
    {8, "Nov11", "Armistice 1918"},
    {8, "Dec25", "Noël"},
    // Germany
    {9, "Jan01", "Neujahr"},
    {9, "Jan06", "Heilige Drei Könige"},
    {9, "May01", "Maifeiertag"},
    {9, "Oct03", "Tag der deutschen Einheit"},
    {9, "Nov01", "Allerheiligen"},
    {9, "34Nov", "Buß- und Bettag"},
    {9, "41Nov", "Totensonntag"},
    {9, "Dec24", "Heiligabend"},
    {9, "Dec25", "1. Weihnachtstag"},
    {9, "Dec26", "2. Weihnachtstag"},
    {9, "Dec31", "Silvester"},
    // Ireland
    {10, "Jan01", "New Year's Day"},
    {10, "Mar17", "St. Patrick's Day"},
    {10, "12Jun", "June Holiday"},
    {10, "12Aug", "August Holiday"},
    {10, "52Oct", "October Holiday"},
    {10, "Dec24", "Christmas Eve"},
    {10, "Dec25", "Christmas"},
    {10, "Dec26", "Boxing Day"},
    {10, "Dec31", "New Year's Eve"},
    // Italy
    {11, "Jan01", "Capodanno"},
    {11, "Jan06", "Epifania"},
    {11, "Apr25", "Anniv. della Liberazione"},
    {11, "May01", "Festa del Lavoro"},
    {11, "Aug15", "Assunzione M.V."},
    {11, "Nov01", "Ognissanti"},
    {11, "Dec08", "Immacolata Concezione"},
    {11, "Dec25", "Natale"},
    {11, "Dec26", "Santo Stefano"},
    // Japan
    {12, "Jan01", "New Year's Day"},
    {12, "Jan15", "Adult's Day"},
    {12, "Feb11", "Commemoration of the Founding of the Nation"},
    {12, "Mar20", "Vernal Equinox Day"},
    {12, "May03", "Constitution Day"},
    {12, "May04", "Greenary Day"},
    {12, "May05", "Childrens' Day"},
    {12, "Sep15", "Respect for the Aged Day"},
    {12, "Sep23", "Autumnal Equinox Day"},
    {12, "Oct10", "Health-Sports Day"},
    {12, "Nov23", "Labour Thanksgiving Day"},
    {12, "Nov03", "Culture Day"},
    {12, "Dec23", "The Emperor's Birthday"},
    // Netherlands
    {13, "Jan01", "Nieuwjaar"},
    {13, "Apr30", "Koninginnedag"},
    {13, "May05", "Bevrijdingsdag"},
    {13, "Dec25", "Kerstmis"},
    {13, "Dec26", "2de Kerstdag"},
    // New Zealand
    {14, "Jan01", "New Year's Day"},
    {14, "Feb06", "Waitangi Day"},
    {14, "Apr25", "ANZAC Day"},
    {14, "12Jun", "Queen's Birthday"},
    {14, "42Oct", "Labour Day"},
    {14, "Dec25", "Christmas"},
    {14, "Dec26", "Boxing Day"},
    // Norway
    {15, "Jan01", "Nyttårsdag"},
    {15, "May01", "1. mai"},
    {15, "May17", "17. mai"},
    {15, "Dec25", "Juledag"},
    {15, "Dec26", "2. Juledag"},
    // Portugal
    {16, "Jan01", "Circuncisão"},
    {16, "Apr25", "Dia da Liberdade"},
    {16, "May01", "Dia do Trabalho"},
    {16, "Jun10", "Dia de Portugal"},
    {16, "Aug15", "Assunção de Nossa Senhora"},
    {16, "Oct05", "Proclamação da República"},
    {16, "Nov01", "Todos-os-Santos"},
    {16, "Dec01", "Restaur. de Independ"},
    {16, "Dec08", "Imaculada Conceiçao de Nossa Senhora"},
    {16, "Dec25", "Dia de Natal"},
    // South Africa
    {17, "Jan01", "New Year's Day"},
    {17, "Apr06", "Founders' Day"},
    {17, "May01", "Workers' Day"},
    {17, "May31", "Republic Day"},
    {17, "Oct10", "Kruger Day"},
    {17, "Dec16", "Day of Vow"},
    {17, "Dec25", "Christmas"},
    {17, "Dec26", "Day of Goodwill"},
    // Spain
    {18, "Jan01", "Año Nuevo"},
    {18, "Jan06", "Epifanía"},
    {18, "Jan23", "San Ildefonso"},
    {18, "Feb28", "Día de Andalucía"},
    {18, "Mar19", "San José"},
    {18, "Apr02", "Fiesta de la Primavera"},
    {18, "Apr23", "Día de Aragón/Día de la Comunidad"},
    {18, "May01", "Fiesta Trabajo"},
    {18, "May02", "Día de la Comunidad"},
    {18, "May15", "San Isidro"},
    {18, "May30", "Día de Canarias"},
    {18, "May31", "Día de Castilla-La Mancha"},
    {18, "Jun09", "Día de la Región/Día de la Rioja"},
    {18, "Jun13", "San Antonio"},
    {18, "Jul07", "San Fermín"},
    {18, "Jul25", "Santiago"},
    {18, "Aug15", "Asunción"},
    {18, "Aug25", "Batalla de las Flores"},
    {18, "Sep08", "Día de Asturias/V. de San Lorenzo/V. Guadalupe"},
    {18, "Sep09", "Sta. María de la Cabeza"},
    {18, "Sep13", "Viernes Santo"},
    {18, "Sep21", "San Mateo"},
    {18, "Sep24", "Sta. Mercedes"},
    {18, "Oct09", "Día de la Comunidad"},
    {18, "Oct12", "Hispanidad"},
    {18, "Oct15", "N. Sra. Bien Aparecida"},
    {18, "Oct07", "N. Sra. del Rosario"},
    {18, "Dec08", "Día de la Constitución"},
    {18, "Dec25", "Navidad"},
    {18, "Dec26", "San Esteban"},
    // Sweden
    {19, "Jan01", "Nyårsdagen"},
    {19, "Jan06", "Trettondagen"},
    {19, "May01", "Första maj"},
    {19, "51May", "Mors dag"},
    {19, "Jun24", "Johannes Döparens dag"},
    {19, "Oct24", "FN-dagen"},
    {19, "21Nov", "Fars dag"},
    {19, "Dec25", "Juldagen"},
    {19, "Dec26", "Annandag jul"},
    // Switzerland
    {20, "Jan01", "Nouvel An/Neujahr/Capo d'anno"},
    {20, "Jan02", "Berchtoldstag"},
    {20, "Jan06", "Les 3 Rois/Heilige 3 Könige/Epifania"},
    {20, "Jan24", "Indépendance vaudoise"},
    {20, "Mar01", "République neuchâteloise"},
    {20, "Aug01", "Fête Nationale Suisse/Bundesfeier/Festa Federale"},
    {20, "Aug15", "Assomption de N.D./Mariä Himmelfahrt/Assunzione"},
    {20, "Dec08", "Imm. Concept. de N.D./Mariä Empfängnis/Immacolata"},
    {20, "Dec25", "Noël/Weihnachten/Natale"},
    {20, "Dec26", "St.-Etienne/Stephanstag/Santo Stefano"},
    {20, "Dec31", "Sylvestre/Silvester/S. Silvestro"},
    // United Kingdom
    {21, "Jan01", "New Year's Day"},
    {21, "12May", "May Day"},
    {21, "52May", "Spring Bank Holiday"},
    {21, "22Jul", "Public Holiday, Northern Ireland"},
    {21, "52Aug", "Summer Bank Holiday"},
    {21, "Dec24", "Christmas Eve"},
    {21, "Dec25", "Christmas"},
    {21, "Dec26", "Boxing Day"},
    {21, "Dec31", "New Year's Eve"},
    // United States
    {22, "Jan01", "New Year's Day"},
    {22, "32Jan", "Martin Luther King, Jr."},
    {22, "Feb02", "Groundhog Day"},
    {22, "Feb12", "Lincoln's Birthday"},
    {22, "Feb14", "Valentine's Day"},
    {22, "32Feb", "President's Day"},
    {22, "Feb22", "Washington's Birthday"},
    {22, "Mar17", "St. Patrick's Day"},
    {22, "Apr01", "April Fool's Day"},
    {22, "11Apr", "Daylight Savings Time Begins"},
    {22, "21May", "Mother's Day"},
    {22, "37May", "Armed Forces Day"},
    {22, "52May", "Memorial Day (Observed)"},
    {22, "Jun14", "Flag Day"},
    {22, "31Jun", "Father's Day"},
    {22, "Jul04", "Independence Day"},
    {22, "12Sep", "Labor Day"},
    {22, "22Oct", "Columbus Day (Observed)"},
    {22, "51Oct", "Daylight Savings Time Ends"},
    {22, "Oct31", "Halloween"},
    {22, "Nov11", "Veterans Day"},
    {22, "45Nov", "Thanksgiving"},
    {22, "Dec25", "Christmas"},
    {22, "Dec31", "New Year's Eve"},
};

// The codes' month and weekday abbreviations.
constexpr std::array<std::string_view, 12> kCodeMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> kCodeWeekdays{"Sun", "Mon", "Tue", "Wed",
                                                        "Thu", "Fri", "Sat"};

// A list line's name is kept to this many characters.
constexpr std::size_t kNameMaxChars = 255;

// 1-based position of the first name equal to the text, case aside; 0 when none. Empty
// names never match.
template <typename Names> int matchName(const Names& names, std::string_view text) {
    const std::string wanted = foldCase(text);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = foldCase(names[i]);
        if (!name.empty() && name == wanted)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

// The lines give the months as the codes do; the locale's own abbreviations are read too.
int monthOfAbbreviation(std::string_view text, const FormatSettings& fs) {
    if (const int month = matchName(kCodeMonths, text))
        return month;
    return matchName(fs.shortMonthNames, text);
}

// The lines give the weekdays in the locale's abbreviations; the codes' English ones are
// read too.
int weekdayOfAbbreviation(std::string_view text, const FormatSettings& fs) {
    if (const int weekday = matchName(fs.shortDayNames, text))
        return weekday;
    return matchName(kCodeWeekdays, text);
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// The first `count` characters of a UTF-8 text, never cutting one in two.
std::string_view firstChars(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t chars = 0; at < text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if ((byte & 0xC0) != 0x80 && chars++ == count)
            break;
    }
    return text.substr(0, at);
}

std::string monthText(std::string_view abbreviation, const FormatSettings& fs) {
    const int month = monthOfAbbreviation(abbreviation, fs);
    return month ? fs.longMonthNames[static_cast<std::size_t>(month - 1)]
                 : std::string(abbreviation);
}

bool isFloatingLine(std::string_view line) {
    return (!line.empty() && line[0] >= '1' && line[0] <= '4') || line.substr(0, 4) == "Last";
}

std::string floatingOrdinal(std::string_view line) {
    const std::string head = foldCase(line.substr(0, 4));
    const std::pair<const char*, const char*> words[] = {
        {"1st", "First"}, {"2nd", "Second"}, {"3rd", "Third"}, {"4th", "Fourth"}, {"last", "Last"}};
    for (const auto& [mark, word] : words)
        if (head.find(mark) != std::string::npos)
            return word;
    return {};
}

} // namespace

std::span<const BuiltInHoliday> builtInHolidays() {
    return kHolidays;
}

std::span<const std::string_view> builtInHolidayCountries() {
    return kCountries;
}

int holidayCountryIndex(std::string_view name) {
    for (std::size_t i = 0; i < kCountries.size(); ++i)
        if (foldCase(kCountries[i]) == foldCase(name))
            return static_cast<int>(i);
    return -1;
}

std::vector<BuiltInHoliday> countryHolidays(int country) {
    std::vector<BuiltInHoliday> entries;
    for (const BuiltInHoliday& entry : kHolidays) {
        if (entry.country > country)
            break;
        if (entry.country == country)
            entries.push_back(entry);
    }
    return entries;
}

std::vector<int> countryHolidaysNamed(int country, const std::vector<std::string>& names,
                                      std::string& unknown) {
    const std::vector<BuiltInHoliday> entries = countryHolidays(country);
    std::vector<bool> picked(entries.size(), false);
    unknown.clear();
    for (const std::string& name : names) {
        const std::string wanted = foldCase(name);
        bool found = false;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (foldCase(entries[i].name) == wanted || foldCase(entries[i].code) == wanted) {
                picked[i] = true;
                found = true;
            }
        }
        if (!found && unknown.empty())
            unknown = name;
    }
    std::vector<int> positions;
    for (std::size_t i = 0; i < picked.size(); ++i)
        if (picked[i])
            positions.push_back(static_cast<int>(i));
    return positions;
}

std::string ordinalNumber(int k) {
    const char* suffix = "th";
    if (k == 1 || k == 21 || k == 31)
        suffix = "st";
    else if (k == 2 || k == 22 || k == 32)
        suffix = "nd";
    else if (k == 3 || k == 23 || k == 33)
        suffix = "rd";
    return std::to_string(k) + suffix;
}

std::string holidayCodeText(std::string_view code, const FormatSettings& fs) {
    if (code.size() < 5)
        return std::string(code);
    if (code[0] >= '0' && code[0] <= '9') {
        const int n = code[0] - '0';
        const int w = code[1] - '0';
        const std::string weekday =
            w >= 1 && w <= 7 ? fs.shortDayNames[static_cast<std::size_t>(w - 1)] : std::string();
        return (n == kLastOrdinal ? std::string("Last") : ordinalNumber(n)) + " " + weekday +
               " in " + std::string(code.substr(2, 3));
    }
    const int day = (code[3] - '0') * 10 + (code[4] - '0');
    return std::string(code.substr(0, 3)) + " " + ordinalNumber(day);
}

std::vector<std::string> countryHolidayLines(int country, const FormatSettings& fs) {
    std::vector<std::string> lines;
    for (const BuiltInHoliday& entry : countryHolidays(country))
        lines.push_back(holidayCodeText(entry.code, fs) + "\t" + std::string(entry.name));
    return lines;
}

void addToGrid(CellTable& table, int row, std::string_view line, const FormatSettings& fs) {
    const auto tab = line.find('\t');
    const std::string_view when = line.substr(0, tab);
    const std::string name(tab == std::string_view::npos
                               ? std::string_view()
                               : firstChars(line.substr(tab + 1), kNameMaxChars));
    const auto space = when.find(' ');

    std::string month;
    std::string rule;
    if (!isFloatingLine(line)) {
        month = monthText(firstChars(when, 3), fs);
        if (space != std::string_view::npos)
            for (const char c : when.substr(space + 1))
                if (c >= '0' && c <= '9')
                    rule += c;
    } else {
        const auto in = when.find(" in ");
        month = in == std::string_view::npos ? std::string()
                                             : monthText(firstChars(when.substr(in + 4), 3), fs);
        // The weekday is the locale's abbreviation, which may be longer or shorter than
        // three characters: everything between the first space and " in ".
        const std::string abbreviation =
            space == std::string_view::npos
                ? std::string()
                : trimmed(when.substr(space + 1, in == std::string_view::npos
                                                     ? std::string_view::npos
                                                     : in - space - 1));
        const int weekday = weekdayOfAbbreviation(abbreviation, fs);
        rule = floatingOrdinal(line) + " : " +
               (weekday ? fs.longDayNames[static_cast<std::size_t>(weekday - 1)] : abbreviation);
    }

    if (table.colCount() < 4)
        table.setColCount(4);
    row = std::clamp(row, 1, std::max(1, table.rowCount()));
    table.insertRows(row, 1);
    writeHolidayRow(table, row, name, month, rule, fs);
}

std::vector<CellTable::Row> importHolidays(CellTable& table, int country,
                                           const std::vector<int>& chosen,
                                           const FormatSettings& fs) {
    const std::vector<std::string> lines = countryHolidayLines(country, fs);
    std::vector<int> positions;
    for (const int i : chosen)
        if (i >= 0 && i < static_cast<int>(lines.size()))
            positions.push_back(i);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());

    // An empty table is its header and one empty row; the imported rows take its place.
    const bool onlyEmptyRow = table.rowCount() == 2 && [&] {
        for (int col = 0; col < table.colCount(); ++col)
            if (!table.cell(col, 1).empty())
                return false;
        return true;
    }();

    std::vector<CellTable::Row> added;
    for (const int i : positions) {
        addToGrid(table, 1, lines[static_cast<std::size_t>(i)], fs);
        added.push_back(table.row(1));
    }
    if (onlyEmptyRow && !added.empty())
        table.removeRows(table.rowCount() - 1, 1);
    return added;
}

} // namespace dw
