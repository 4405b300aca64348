#include "study/sweep_design.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <new>
#include <optional>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
#include "results/compressibility.h"
#include "solver/threads.h"

namespace tarvenol {
namespace {

// A family's panels along the profile where the row gives none.
constexpr double kFamilyNI = 100;

constexpr const char* kColumns[] = {"family", "a",     "b",        "c",         "d",
                                    "n",      "theta", "path",     "ni",        "nj",
                                    "alpha",  "mach",  "reynolds", "transition"};

// The columns each family takes, besides family, ni, nj and alpha.
const std::vector<std::string>& ParametersOf(Family family) {
  static const std::vector<std::string> myring = {"a", "b", "c", "d", "n", "theta"};
  static const std::vector<std::string> spheroid = {"a", "b"};
  static const std::vector<std::string> file = {"path"};
  return family == Family::Myring ? myring : family == Family::Spheroid ? spheroid : file;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The row's non-blank columns by name.
std::map<std::string, std::string> Columns(const DesignRow& row) {
  std::map<std::string, std::string> columns;
  for (const auto& [rawName, rawText] : row) {
    const std::string name = Trimmed(rawName);
    if (!IsDesignColumn(name)) {
      throw ProgramError("The column " + Shown(name) +
                         " is none of family, a, b, c, d, n, theta, path, ni, nj, alpha, "
                         "mach, reynolds and transition.");
    }
    const std::string text = Trimmed(rawText);
    if (text.empty()) continue;
    if (!columns.emplace(name, text).second) {
      throw ProgramError("The column " + Shown(name) + " is given twice.");
    }
  }
  return columns;
}

Family FamilyOf(const std::map<std::string, std::string>& columns) {
  const auto family = columns.find("family");
  if (family == columns.end()) {
    throw ProgramError("The row names no family: myring, spheroid or file.");
  }
  if (family->second == "myring") return Family::Myring;
  if (family->second == "spheroid") return Family::Spheroid;
  if (family->second == "file") return Family::File;
  throw ProgramError("The family must be myring, spheroid or file; " + Shown(family->second) +
                     " is none of them.");
}

const char* FamilyName(Family family) {
  return family == Family::Myring     ? "Myring's hull"
         : family == Family::Spheroid ? "A spheroid"
                                      : "A body file";
}

// The number in column name; def where it is blank, or a message where it is needed.
double NumberIn(const std::map<std::string, std::string>& columns, const std::string& name,
                std::optional<double> def, Family family) {
  const auto column = columns.find(name);
  if (column == columns.end()) {
    if (def) return *def;
    throw ProgramError(std::string(FamilyName(family)) + " needs the column " + name + ".");
  }
  const std::optional<double> number = WholeTextNumber(column->second);
  if (!number || !std::isfinite(*number)) {
    throw ProgramError("The column " + name + " must be a number; " + Shown(column->second) +
                       " is not.");
  }
  return *number;
}

}  // namespace

bool IsDesignColumn(const std::string& name) {
  return std::find(std::begin(kColumns), std::end(kColumns), name) != std::end(kColumns);
}

Design ReadDesign(const DesignRow& row) {
  const std::map<std::string, std::string> columns = Columns(row);
  Design design;
  design.family = FamilyOf(columns);
  const std::vector<std::string>& takes = ParametersOf(design.family);
  for (const auto& [name, text] : columns) {
    const bool common = name == "family" || name == "ni" || name == "nj" || name == "alpha" ||
                        name == "mach" || name == "reynolds" || name == "transition";
    if (!common && std::find(takes.begin(), takes.end(), name) == takes.end()) {
      throw ProgramError(std::string(FamilyName(design.family)) + " takes no " + name + " (" +
                         Shown(text) + "): leave the column blank in its row.");
    }
  }
  const auto number = [&](const char* name, std::optional<double> def = std::nullopt) {
    return NumberIn(columns, name, def, design.family);
  };
  switch (design.family) {
    case Family::Myring:
      design.myring = {number("a"), number("b"), number("c"),
                       number("d"), number("n"), number("theta")};
      CheckMyring(design.myring);
      break;
    case Family::Spheroid:
      design.spheroid = {number("a"), number("b")};
      CheckSpheroid(design.spheroid);
      break;
    case Family::File: {
      const auto path = columns.find("path");
      if (path == columns.end()) throw ProgramError("A body file needs the column path.");
      design.path = path->second;
      break;
    }
  }
  if (columns.count("ni") != 0) {
    design.ni = number("ni");
    RequireWholeCount(*design.ni, "NI", kMinNI);
  }
  design.nj = number("nj", design.nj);
  design.alphaDegrees = number("alpha", design.alphaDegrees);
  RequireWholeCount(design.nj, "NJ", kMinNJ);
  RequireAngleOfAttack(design.alphaDegrees);
  if (columns.count("mach") != 0) {
    design.mach = number("mach");
    RequireSubsonicMach(*design.mach);
  }
  if (columns.count("reynolds") != 0) design.reynolds = number("reynolds");
  if (const auto transition = columns.find("transition"); transition != columns.end()) {
    if (!design.reynolds) {
      throw ProgramError(
          "The column transition needs a Reynolds number in the column "
          "reynolds; leave it blank in a row without one.");
    }
    const std::optional<TransitionSetting> named = TransitionNamed(transition->second);
    if (!named) {
      throw ProgramError("The column transition must be free, laminar or the x/L of a trip; " +
                         Shown(transition->second) + " is none of them.");
    }
    design.transition = *named;
  }
  return design;
}

StudyBody DesignBody(const Design& design) {
  switch (design.family) {
    case Family::Myring:
      return MyringBody(design.myring, design.ni.value_or(kFamilyNI), design.nj);
    case Family::Spheroid:
      return SpheroidBody(design.spheroid, design.ni.value_or(kFamilyNI), design.nj);
    case Family::File:
      break;
  }
  return FileBody(design.path, design.nj, design.ni);
}

namespace {

// The figures of the row's body and its drag where asked, the second solution of the figures
// made beside the solution and the drag (RunBeside); their refusals in the order in which one
// after the other would meet them: the solve's, the figures' (the second solution's among
// them), the drag's.
void Measured(const Design& design, const StudyBody& body, Progress& progress,
              SweepOutcome& outcome) {
  std::optional<StudySolution> solved;
  std::optional<StudyDragResult> drag;
  std::optional<CoarseCompanion> companion;
  std::exception_ptr solveError, dragError, companionError;
  SharedProgress beside;  // stopped when the solve fails
  RunBeside(
      [&] {
        try {
          solved = SolveStudy(body, true, progress);
          if (design.reynolds) {
            try {
              drag = StudyDrag(body, *solved, *design.reynolds, design.transition, design.mach,
                               progress);
            } catch (const Cancelled&) {
              throw;
            } catch (const std::bad_alloc&) {
              throw;
            } catch (const std::exception&) {
              dragError = std::current_exception();
            }
          }
        } catch (...) {
          solveError = std::current_exception();
          beside.Stop();
        }
      },
      [&] {
        try {
          companion = CoarseCompanionOf(body.state, body.body, beside);
        } catch (...) {
          companionError = std::current_exception();
        }
      });
  if (solveError) std::rethrow_exception(solveError);
  outcome.figures =
      StudyFigures(body, *solved, design.alphaDegrees, design.mach, progress, [&](Progress&) {
        if (companionError) std::rethrow_exception(companionError);
        return *companion;
      });
  if (dragError) std::rethrow_exception(dragError);
  if (drag) {
    outcome.drag = std::move(drag->lines);
    outcome.warnings.insert(outcome.warnings.end(), drag->warnings.begin(), drag->warnings.end());
  }
}

// The message of what ended a design: the program's own, or what failed in a library below it.
std::string RowError(const std::exception& e) {
  if (dynamic_cast<const ProgramError*>(&e) != nullptr) return e.what();
  return std::string("The design could not be measured: ") + e.what();
}

}  // namespace

SweepOutcome SweepRow(const DesignRow& row, Progress& progress) {
  SweepOutcome outcome;
  try {
    const Design design = ReadDesign(row);
    const StudyBody body = DesignBody(design);
    outcome.warnings = body.warnings;
    Measured(design, body, progress, outcome);
  } catch (const Cancelled&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    // Whatever else ends one design is that design's error: the rows after it go on.
    outcome.figures.clear();
    outcome.drag.clear();
    outcome.error = RowError(e);
  }
  return outcome;
}

}  // namespace tarvenol
