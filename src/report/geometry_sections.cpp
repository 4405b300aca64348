#include "report/geometry_sections.h"

#include "report/report_file.h"

namespace tarvenol {
namespace {

constexpr int kPlaces4 = 4;

// Counts the rows of panels written, so that long sections tell how far they have come.
class RowProgress {
 public:
  RowProgress(Progress& progress, double rows) : progress_(progress), rows_(rows) {}
  void Row() { Step(progress_, Stage::Report, ++done_ / rows_); }

 private:
  Progress& progress_;
  double rows_;
  double done_ = 0;
};

// "#0.###0  ": the value, then two blanks.
void GridValue(ReportWriter& out, double v) {
  out.Number(v, kPlaces4);
  out.Text("  ");
}

void Line(ReportWriter& out, std::string_view text) {
  out.Text(text);
  out.EndLine();
}

constexpr const char* kCoordinateLabels[] = {" x    = ", " y    = ", " z    = "};

// The line that opens the data of panel (i, j): " i   j ".
void PanelHeading(ReportWriter& out, int i, int j) {
  out.Index(i);
  out.Text(" ");
  out.Index(j);
  out.EndLine();
}

void PanelCorners(ReportWriter& out, const ModelState& s, int i, int j) {
  const Array3* corners[] = {&s.xCor, &s.yCor, &s.zCor};
  for (int c = 0; c < 3; ++c) {
    out.Text(kCoordinateLabels[c]);
    for (int k = 1; k <= s.NCor(i, j); ++k) GridValue(out, (*corners[c])(i, j, k));
    out.EndLine();
  }
}

void CornerPoints(ReportWriter& out, const ModelState& s, int ni, int nj, RowProgress& rows) {
  Line(out, " Coordinates of panel corner points");
  out.EndLine();
  for (int i = 1; i <= ni; ++i) {
    rows.Row();
    for (int j = 1; j <= nj; ++j) {
      PanelHeading(out, i, j);
      PanelCorners(out, s, i, j);
      out.EndLine();
    }
  }
  out.EndLine();
}

// A line of a label and, for j = 1..NJ, the value with "0.###0" and two blanks.
void PanelRow(ReportWriter& out, const char* label, const Array2& a, int i, int nj) {
  out.Text(label);
  for (int j = 1; j <= nj; ++j) {
    out.Number(a(i, j), kPlaces4);
    out.Text("  ");
  }
  out.EndLine();
}

void ControlPoints(ReportWriter& out, const ModelState& s, int ni, int nj, RowProgress& rows) {
  Line(out, " Coordinates of panel control points");
  out.EndLine();
  for (int i = 1; i <= ni; ++i) {
    rows.Row();
    PanelRow(out, "xC   ", s.xC, i, nj);
    PanelRow(out, "yC   ", s.yC, i, nj);
    PanelRow(out, "zC   ", s.zC, i, nj);
    out.EndLine();
  }
  out.EndLine();
}

void AxisCosines(ReportWriter& out, const ModelState& s, int ni, int nj, RowProgress& rows) {
  Line(out, " Cosine directors of panel axes");
  out.EndLine();
  const struct {
    const char* label;
    const Array2* cosine;
  } groups[3][3] = {
      {{"XsiX ", &s.XsiX}, {"XsiY ", &s.XsiY}, {"XsiZ ", &s.XsiZ}},
      {{"ItaX ", &s.ItaX}, {"ItaY ", &s.ItaY}, {"ItaZ ", &s.ItaZ}},
      {{"ZtaX ", &s.ZtaX}, {"ZtaY ", &s.ZtaY}, {"ZtaZ ", &s.ZtaZ}},
  };
  for (int i = 1; i <= ni; ++i) {
    rows.Row();
    for (const auto& group : groups) {
      for (const auto& line : group) PanelRow(out, line.label, *line.cosine, i, nj);
      out.EndLine();
    }
  }
  out.EndLine();
}

void CornersInPanelAxes(ReportWriter& out, const ModelState& s, int ni, int nj, RowProgress& rows) {
  Line(out, " Coordinates of panel corner points in panel axis");
  out.EndLine();
  for (int i = 1; i <= ni; ++i) {
    rows.Row();
    for (int j = 1; j <= nj; ++j) {
      PanelHeading(out, i, j);
      // Always four values: a three-cornered panel's fourth holds 0.
      for (const auto& [label, a] : {std::pair{"Xsi  ", &s.Xsi}, std::pair{"Ita  ", &s.Ita}}) {
        out.Text(label);
        for (int k = 1; k <= 4; ++k) {
          out.Number((*a)(i, j, k), kPlaces4);
          out.Text("  ");
        }
        out.EndLine();
      }
      out.EndLine();
    }
  }
}

}  // namespace

void PrintProfile(const ModelState& s, const Array1& xI, const Array1& rI) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  Line(out, " Profile of the body of revolution");
  Line(out, "  i     xI     rI");
  out.EndLine();
  for (int i = 1; i <= LoopEnd(s.NI1); ++i) {
    out.Index(i);
    out.Text("   ");
    GridValue(out, xI(i));
    GridValue(out, rI(i));
    out.EndLine();
  }
  out.Close();
}

void PrintBodyCoordinates(const ModelState& s, Progress& progress) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  out.EndLine();
  Line(out, " Coordinates of the body of revolution");
  out.EndLine();
  const int ni1 = LoopEnd(s.NI1);
  const int nj1 = LoopEnd(s.NJ1);
  RowProgress rows(progress, ni1);
  for (int i = 1; i <= ni1; ++i) {
    rows.Row();
    const Array2* grid[] = {&s.xB, &s.yB, &s.zB};
    for (int c = 0; c < 3; ++c) {
      out.Text(kCoordinateLabels[c]);
      for (int j = 1; j <= nj1; ++j) GridValue(out, (*grid[c])(i, j));
      out.EndLine();
    }
    out.EndLine();
  }
  out.Close();
}

void PrintPanelGeometry(const ModelState& s, Progress& progress) {
  ReportWriter out(s.OutFile, s.DecimalSeparator);
  const int ni = LoopEnd(s.NI);
  const int nj = LoopEnd(s.NJ);
  RowProgress rows(progress, 4.0 * ni);
  CornerPoints(out, s, ni, nj, rows);
  ControlPoints(out, s, ni, nj, rows);
  AxisCosines(out, s, ni, nj, rows);
  CornersInPanelAxes(out, s, ni, nj, rows);
  out.Close();
}

}  // namespace tarvenol
