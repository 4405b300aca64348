#include "field/field_exports.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/whole_file.h"

namespace tarvenol {
namespace {

// Text of a file, gathered whole: a field of 40 000 points is a few MB.
class Text {
 public:
  Text& operator<<(std::string_view text) {
    text_.append(text);
    return *this;
  }
  Text& operator<<(double v) {
    char text[32];
    return *this << std::string_view(text, std::to_chars(text, text + sizeof text, v).ptr);
  }
  Text& operator<<(long v) {
    char text[24];
    return *this << std::string_view(text, std::to_chars(text, text + sizeof text, v).ptr);
  }
  const std::string& Bytes() const { return text_; }
  void Clear() { text_.clear(); }

 private:
  std::string text_;
};

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         std::equal(
             end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
             [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// A point-data array of one value a point, or three, from each point (i, j) in VTK's order.
template <typename Value>
void PointArray(Text& out, const char* type, const char* name, int components, const GridSpan& span,
                Value value) {
  out << "        <DataArray type=\"" << type << "\" Name=\"" << name << "\" NumberOfComponents=\""
      << static_cast<long>(components) << "\" format=\"ascii\">\n";
  for (int j = 1; j <= span.ny; ++j) {
    for (int i = 1; i <= span.nx; ++i) {
      out << "          ";
      value(out, i, j);
      out << "\n";
    }
  }
  out << "        </DataArray>\n";
}

}  // namespace

void WriteFieldVtk(const std::string& path, const FieldAtIncidence& f,
                   const std::vector<HeldFile>& held) {
  const bool image = EndsWith(path, ".vti");
  if (!image && !EndsWith(path, ".vts")) {
    throw ProgramError(
        "The field's VTK file must be named .vts (a structured grid) or .vti "
        "(image data); " +
        ShownPath(path) + " is neither.");
  }
  const GridSpan& s = f.span;
  Text out;
  const long nx1 = s.nx - 1, ny1 = s.ny - 1;
  out << "<?xml version=\"1.0\"?>\n<VTKFile type=\"" << (image ? "ImageData" : "StructuredGrid")
      << "\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n";
  if (image) {
    out << "  <ImageData WholeExtent=\"0 " << nx1 << " 0 " << ny1 << " 0 0\" Origin=\"" << s.x0
        << " " << s.y0 << " 0\" Spacing=\"" << s.dx << " " << s.dy << " 1\">\n";
  } else {
    out << "  <StructuredGrid WholeExtent=\"0 " << nx1 << " 0 " << ny1 << " 0 0\">\n";
  }
  out << "    <FieldData>\n"
         "      <DataArray type=\"Float64\" Name=\"alpha_degrees\" NumberOfTuples=\"1\" "
         "format=\"ascii\">"
      << f.incidence.degrees
      << "</DataArray>\n"
         "    </FieldData>\n"
         "    <Piece Extent=\"0 "
      << nx1 << " 0 " << ny1
      << " 0 0\">\n"
         "      <PointData Scalars=\"Cp\" Vectors=\"velocity\">\n";
  PointArray(out, "Float64", "velocity", 3, s, [&](Text& o, int i, int j) {
    o << f.Vx(i, j) << " " << f.Vy(i, j) << " " << f.Vz(i, j);
  });
  PointArray(out, "Float64", "speed", 1, s, [&](Text& o, int i, int j) { o << f.speed(i, j); });
  PointArray(out, "Float64", "Cp", 1, s, [&](Text& o, int i, int j) { o << f.Cp(i, j); });
  PointArray(out, "UInt8", "masked", 1, s,
             [&](Text& o, int i, int j) { o << static_cast<long>(f.masked(i, j)); });
  // VTK's mark of a hidden point: ParaView leaves out the cells around it.
  PointArray(out, "UInt8", "vtkGhostType", 1, s,
             [&](Text& o, int i, int j) { o << (f.masked(i, j) != 0 ? 2L : 0L); });
  out << "      </PointData>\n";
  if (!image) {
    out << "      <Points>\n";
    PointArray(out, "Float64", "points", 3, s,
               [&](Text& o, int i, int j) { o << s.X(i) << " " << s.Y(j) << " " << 0.0; });
    out << "      </Points>\n";
  }
  out << "    </Piece>\n  </" << (image ? "ImageData" : "StructuredGrid") << ">\n</VTKFile>\n";
  WriteWholeFile(path, "VTK file", out.Bytes(), held);
}

void WriteProbeTable(const std::string& path, const std::vector<Vector3>& points,
                     const std::vector<std::optional<FlowAtPoint>>& flows,
                     const std::vector<HeldFile>& held, Progress& progress) {
  WriteWholeFile(
      path, "table",
      [&](FileSink& sink) {
        Text out;
        out << "x,y,z,Vx,Vy,Vz,speed,Cp,masked\n";
        ProgressClock clock;
        for (std::size_t k = 0; k < points.size(); ++k) {
          out << points[k][0] << "," << points[k][1] << "," << points[k][2] << ",";
          if (const std::optional<FlowAtPoint>& flow = flows[k]) {
            out << flow->V[0] << "," << flow->V[1] << "," << flow->V[2] << "," << flow->speed << ","
                << flow->Cp << ",0\n";
          } else {
            out << ",,,,,1\n";
          }
          // Written a block at a time, so that a large table never lies in memory whole.
          if (out.Bytes().size() >= 1 << 16) {
            sink.Write(out.Bytes());
            out.Clear();
            clock.Tick(progress, Stage::Points,
                       static_cast<double>(k) / static_cast<double>(points.size()));
          }
        }
        sink.Write(out.Bytes());
      },
      held);
}

}  // namespace tarvenol
