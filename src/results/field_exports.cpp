#include "results/field_exports.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

#include "core/program_error.h"
#include "core/shown_text.h"
#include "core/text_number.h"
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

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Fields(std::string_view row) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t comma = row.find(',', start);
    fields.push_back(Trimmed(row.substr(start, comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

bool IsHeader(const std::vector<std::string_view>& fields) {
  static constexpr const char* kNames[] = {"x", "y", "z"};
  if (fields.size() != 3) return false;
  for (std::size_t k = 0; k < 3; ++k) {
    if (fields[k].size() != 1 ||
        std::tolower(static_cast<unsigned char>(fields[k][0])) != kNames[k][0]) {
      return false;
    }
  }
  return true;
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

std::optional<double> ReadCoordinate(std::string_view text) {
  const std::string_view number = Trimmed(text);
  const std::optional<NumberPrefix> read = ReadNumberPrefix(number);
  if (!read || read->length != number.size() || !std::isfinite(read->value)) return std::nullopt;
  return read->value;
}

std::vector<Vector3> ReadProbePoints(const std::string& path) {
  const auto fault = [&](const std::string& why) {
    return ProgramError("The points cannot be read from " + ShownPath(path) + ": " + why + ".");
  };
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw fault(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) throw fault("it is not a regular file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fault(std::strerror(errno));
  std::vector<Vector3> points;
  std::string row;
  bool first = true;
  for (long line = 1; std::getline(in, row); ++line) {
    if (Trimmed(row).empty()) continue;
    const std::vector<std::string_view> fields = Fields(row);
    if (first && IsHeader(fields)) {
      first = false;
      continue;
    }
    first = false;
    Vector3 p{};
    bool numbers = fields.size() == 3;
    for (std::size_t k = 0; numbers && k < 3; ++k) {
      const std::optional<double> v = ReadCoordinate(fields[k]);
      numbers = v.has_value();
      if (numbers) p[k] = *v;
    }
    if (!numbers) {
      throw fault("line " + std::to_string(line) + ", " + Shown(row) +
                  ", is not three numbers x, y, z separated by commas");
    }
    points.push_back(p);
  }
  if (in.bad()) throw fault(std::strerror(errno));
  if (points.empty()) throw fault("it holds no points");
  return points;
}

void WriteProbeTable(const std::string& path, const std::vector<Vector3>& points,
                     const std::vector<std::optional<FlowAtPoint>>& flows,
                     const std::vector<HeldFile>& held) {
  Text out;
  out << "x,y,z,Vx,Vy,Vz,speed,Cp,masked\n";
  for (std::size_t k = 0; k < points.size(); ++k) {
    out << points[k][0] << "," << points[k][1] << "," << points[k][2] << ",";
    if (const std::optional<FlowAtPoint>& flow = flows[k]) {
      out << flow->V[0] << "," << flow->V[1] << "," << flow->V[2] << "," << flow->speed << ","
          << flow->Cp << ",0\n";
    } else {
      out << ",,,,,1\n";
    }
  }
  WriteWholeFile(path, "table", out.Bytes(), held);
}

}  // namespace tarvenol
