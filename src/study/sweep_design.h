#pragma once
// The designs of a sweep, one a row, as a table names them: a column family (myring, spheroid or
// file), the family's parameters by name (a, b, c, d, n, theta for Myring's hull, theta in
// degrees; a, b for the spheroid's semi-axes; path for a body file), and the optional ni (panels
// along the profile: 100 when blank for a family; a body file's own points when blank, and the
// profile resampled to ni panels when given), nj (panels around, 16 when blank), alpha
// (degrees, 0 when blank), mach (0 <= M < 1; blank: incompressible, and no critical Mach
// number), reynolds (U L / nu; blank: no drag) and transition (free, laminar or the x/L of a
// trip; free when blank, and blank without a Reynolds number). A column the row's
// family does not take must be blank. Each row is read, solved by the body's symmetry and
// measured on its own: the batch tool and the Python module call the same functions, and give
// the same bits.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "geometry/hull_families.h"
#include "study/study_drag.h"
#include "study/study_solution.h"

namespace tarvenol {

// A row's columns: name and text, blanks around either allowed.
using DesignRow = std::vector<std::pair<std::string, std::string>>;

enum class Family { Myring, Spheroid, File };

struct Design {
  Family family = Family::Myring;
  MyringHull myring;
  SpheroidHull spheroid;
  std::string path;
  std::optional<double> ni;  // blank: 100 for a family, the file's own points for a file
  double nj = 16;
  double alphaDegrees = 0;
  std::optional<double> mach;      // the gas's, where asked for
  std::optional<double> reynolds;  // the drag's, where asked for
  TransitionSetting transition;
};

// Whether a design has a column of that name.
bool IsDesignColumn(const std::string& name);

// The design a row names; a ProgramError naming the column and what is wrong with it: an unknown
// column, a family that is none of the three, a parameter missing or not a number, one the
// family does not take, or a count, angle or shape the program refuses.
Design ReadDesign(const DesignRow& row);

// The body of the design, solved by its symmetry.
StudyBody DesignBody(const Design& design);

// What a sweep gives for a row: the figures of StudyFigures at the row's angle of attack and
// Mach number and,
// where it names a Reynolds number, the drag's (StudyDrag); or the message that refused or
// failed it; the warnings of its profile and its boundary layer either way.
struct SweepOutcome {
  Figures figures;
  DragLines drag;
  std::string error;
  std::vector<std::string> warnings;
};

// Reads, builds, solves and measures one row. Only a stop asked for through progress
// (Cancelled) and a failure to allocate memory leave it as exceptions.
SweepOutcome SweepRow(const DesignRow& row, Progress& progress);

}  // namespace tarvenol
