// sports_scripts: the sports and federation scripts from the CSV lists in
// data/sports/.
//
//   sports_scripts DATA_DIR OUT_DIR
//
// Writes, from DATA_DIR/<list>.csv:
//   MemoSport2014.sql        sportarten.csv and fachverbaende.csv: positional
//                            inserts with LfdNr counting 1, 2, ... in line
//                            order, separately for sports and federations;
//   cmdSportarten.sql        sportarten_bayern_nrw_thueringen.csv: four
//                            values, LfdNr left to the identity column;
//   cmdfachverbaende.sql     fachverbaende_bayern_nrw_thueringen.csv: four
//                            values, Kn null;
//   cmdFachverbaendeNeu.sql  fachverbaende_current.csv: five values, Kn a
//                            blank, LfdNr as listed;
//   cmdVerbSportArt.sql      verbsportart.csv: Kennung and LfdNr null;
//   cmdDSAFachverband.sql    dsa_fachverband.csv: positional inserts;
//   MemoDSAFach.sql          dsa_fachverband.csv again, each insert spread
//                            over three lines with the break after the first
//                            word of the name, so the name reaches the table
//                            with a line break that the stage cleans up.
// An empty VerbandNr is written as null.
#include <cstdio>
#include <exception>
#include <set>
#include <string>

#include "common/csv.h"
#include "common/sql_text.h"
#include "common/text_file.h"

namespace {

using tools::CsvTable;

std::string text_or_null(const std::string& value) { return value.empty() ? "null" : tools::quoted(value); }

void require_unique(std::set<std::string>& seen, const std::string& value, const std::string& what) {
  if (!seen.insert(value).second) throw std::runtime_error(what + " listed twice: " + value);
}

void require_three_digits(const std::string& value, const std::string& what) {
  if (value.size() != 3 || value.find_first_not_of("0123456789") != std::string::npos) {
    throw std::runtime_error(what + " is not three digits: " + value);
  }
}

std::string sports_with_running_numbers(const CsvTable& sports, const CsvTable& federations) {
  std::string text;
  for (size_t i = 0; i < sports.size(); ++i) {
    text += "Insert Into Sportarten Select KZ=" + tools::quoted(sports.at(i, "KZ")) +
            ", NUMMER=" + tools::quoted(sports.at(i, "NUMMER")) +
            ", SPORTART=" + tools::quoted(sports.at(i, "SPORTART")) +
            ", VerbandNr=" + text_or_null(sports.at(i, "VerbandNr")) + ", LfdNr=" + std::to_string(i + 1) + "\n";
  }
  for (size_t i = 0; i < federations.size(); ++i) {
    text += "Insert Into Fachverbaende Select KZ=" + tools::quoted(federations.at(i, "KZ")) +
            ", NUMMER=" + tools::quoted(federations.at(i, "NUMMER")) +
            ", FACHVERBAN=" + tools::quoted(federations.at(i, "FACHVERBAN")) +
            ", Kn=null, LfdNr=" + std::to_string(i + 1) + "\n";
  }
  return text;
}

std::string sports_without_running_numbers(const CsvTable& sports) {
  std::string text;
  for (size_t i = 0; i < sports.size(); ++i) {
    text += "Insert Into Sportarten Select KZ=" + tools::quoted(sports.at(i, "KZ")) +
            ", NUMMER=" + tools::quoted(sports.at(i, "NUMMER")) +
            ", SPORTART=" + tools::quoted(sports.at(i, "SPORTART")) +
            ", VerbandNr=" + text_or_null(sports.at(i, "VerbandNr")) + "\n";
  }
  return text;
}

std::string federations_without_running_numbers(const CsvTable& federations) {
  std::string text;
  for (size_t i = 0; i < federations.size(); ++i) {
    text += "Insert Into fachverbaende Select KZ=" + tools::quoted(federations.at(i, "KZ")) +
            ", NUMMER=" + tools::quoted(federations.at(i, "NUMMER")) +
            ", FACHVERBAN=" + tools::quoted(federations.at(i, "FACHVERBAN")) + ", Kn=null\n";
  }
  return text;
}

std::string current_federations(const CsvTable& federations) {
  std::string text;
  std::set<std::string> running_numbers;
  for (size_t i = 0; i < federations.size(); ++i) {
    const std::string& number = federations.at(i, "LfdNr");
    require_unique(running_numbers, number, "LfdNr");
    text += "Insert Into fachverbaende Select KZ=" + tools::quoted(federations.at(i, "KZ")) +
            ", NUMMER=" + tools::quoted(federations.at(i, "NUMMER")) +
            ", FACHVERBAN=" + tools::quoted(federations.at(i, "FACHVERBAN")) + ", Kn=' ', LfdNr=" + number + "\n";
  }
  return text;
}

std::string numbered_sports(const CsvTable& sports) {
  std::string text;
  std::string previous;
  for (size_t i = 0; i < sports.size(); ++i) {
    const std::string& number = sports.at(i, "Nummer");
    require_three_digits(number, "sport number");
    if (number <= previous) throw std::runtime_error("sport numbers not ascending at " + number);
    previous = number;
    text += "Insert Into VerbSportArt Select Nummer=" + tools::quoted(number) +
            ", Sportart=" + tools::quoted(sports.at(i, "Sportart")) + ", Kennung=null, LfdNr=null\n";
  }
  return text;
}

std::string national_federations(const CsvTable& federations) {
  std::string text;
  std::set<std::string> numbers;
  for (size_t i = 0; i < federations.size(); ++i) {
    const std::string& number = federations.at(i, "Nr");
    require_three_digits(number, "federation number");
    require_unique(numbers, number, "federation number");
    text += "Insert Into DSAFachverband Select Nr=" + tools::quoted(number) +
            ", Bezeichnung=" + tools::quoted(federations.at(i, "Bezeichnung")) + "\n";
  }
  return text;
}

// "INSERT INTO DSAFachverband (Nr, " / "Bezeichnung) VALUES ('101','Allgemeiner " /
// "Deutscher Hochschulsportverband (ADH)')"
std::string national_federations_three_lines(const CsvTable& federations) {
  std::string text;
  for (size_t i = 0; i < federations.size(); ++i) {
    std::string name = tools::quoted(federations.at(i, "Bezeichnung"));
    size_t blank = name.find(' ');
    std::string first = blank == std::string::npos ? name : name.substr(0, blank + 1);
    std::string rest = blank == std::string::npos ? "" : name.substr(blank + 1);
    text += "INSERT INTO DSAFachverband (Nr, \n";
    text += "Bezeichnung) VALUES (" + tools::quoted(federations.at(i, "Nr")) + "," + first + "\n";
    text += rest + ")\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sports_scripts DATA_DIR OUT_DIR\n");
    return 2;
  }
  try {
    const std::string data = std::string(argv[1]) + "/";
    const std::string out = std::string(argv[2]) + "/";
    auto load = [&](const char* list) { return CsvTable::load(data + list + ".csv"); };
    CsvTable national = load("dsa_fachverband");
    tools::write_file_if_changed(out + "MemoSport2014.sql",
                                 sports_with_running_numbers(load("sportarten"), load("fachverbaende")));
    tools::write_file_if_changed(out + "cmdSportarten.sql",
                                 sports_without_running_numbers(load("sportarten_bayern_nrw_thueringen")));
    tools::write_file_if_changed(out + "cmdfachverbaende.sql",
                                 federations_without_running_numbers(load("fachverbaende_bayern_nrw_thueringen")));
    tools::write_file_if_changed(out + "cmdFachverbaendeNeu.sql", current_federations(load("fachverbaende_current")));
    tools::write_file_if_changed(out + "cmdVerbSportArt.sql", numbered_sports(load("verbsportart")));
    tools::write_file_if_changed(out + "cmdDSAFachverband.sql", national_federations(national));
    tools::write_file_if_changed(out + "MemoDSAFach.sql", national_federations_three_lines(national));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "sports_scripts: %s\n", error.what());
    return 1;
  }
  return 0;
}
