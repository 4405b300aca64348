#include "results/exports.h"

#include <charconv>
#include <string_view>

namespace tarvenol {
namespace {

// Text gathered and written in large pieces: a million panels make a table of a hundred MB.
// The last piece is written by a call of Flush, which may fail, not by the destructor.
class Out {
 public:
  explicit Out(FileSink& file) : file_(file) {}
  Out(const Out&) = delete;
  Out& operator=(const Out&) = delete;

  Out& operator<<(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() > kFlushSize) Flush();
    return *this;
  }
  Out& operator<<(double v) {
    char text[32];
    return *this << std::string_view(text, std::to_chars(text, text + sizeof text, v).ptr);
  }
  Out& operator<<(long v) {
    char text[24];
    return *this << std::string_view(text, std::to_chars(text, text + sizeof text, v).ptr);
  }
  void Flush() {
    file_.Write(buffer_);
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 20;
  FileSink& file_;
  std::string buffer_;
};

// A cell-data array of the values field gives, one a line.
template <typename Field>
void CellArray(Out& out, const char* type, const char* name, int components,
               const std::vector<PanelResult>& results, Field field) {
  out << "        <DataArray type=\"" << type << "\" Name=\"" << name << "\" NumberOfComponents=\""
      << static_cast<long>(components) << "\" format=\"ascii\">\n";
  for (const PanelResult& r : results) {
    out << "          ";
    field(out, r);
    out << "\n";
  }
  out << "        </DataArray>\n";
}

}  // namespace

void WriteCsv(FileSink& file, const std::vector<PanelResult>& results, double alphaDegrees,
              double mach) {
  Out out(file);
  const bool incidence = alphaDegrees != 0;
  const bool gas = mach > 0;
  out << "i,j,xC,yC,zC,source_strength,Vx,Vy,Vz,one_minus_Cp,Cp,area"
      << (incidence ? ",alpha_deg" : "") << (gas ? ",mach\n" : "\n");
  for (const PanelResult& r : results) {
    out << static_cast<long>(r.i) << "," << static_cast<long>(r.j) << "," << r.xC << "," << r.yC
        << "," << r.zC << "," << r.sigma << "," << r.Vx << "," << r.Vy << "," << r.Vz << ","
        << r.oneMinusCp << "," << r.Cp << "," << r.area;
    if (incidence) out << "," << alphaDegrees;
    if (gas) out << "," << mach;
    out << "\n";
  }
  out.Flush();
}

void WriteForcesCsv(FileSink& file, const ForcesTable& table) {
  Out out(file);
  out << "alpha_deg,Fx,Fy,Fz,Mx,My,Mz,CFx,CFy,CFz,CM_pitch,CM_pitch_munk,reference_x,volume\n";
  for (const PressureForces& r : table.rows) {
    out << r.alphaDegrees;
    for (const double f : r.force) out << "," << f;
    for (const double m : r.moment) out << "," << m;
    for (const double f : r.force) out << "," << ForceCoefficient(f, table.figures);
    out << "," << MomentCoefficient(r.Pitching(), table.figures) << ",";
    if (table.spheroid) out << MunkMomentCoefficient(*table.spheroid, IncidenceOf(r.alphaDegrees));
    out << "," << r.reference[0] << "," << table.figures.volume << "\n";
  }
  out.Flush();
}

void WriteVtp(FileSink& file, const ModelState& s, const std::vector<PanelResult>& results,
              double alphaDegrees, double mach) {
  Out out(file);
  long points = 0;
  for (const PanelResult& r : results) points += s.NCor(r.i, r.j);
  out << "<?xml version=\"1.0\"?>\n"
         "<VTKFile type=\"PolyData\" version=\"1.0\" byte_order=\"LittleEndian\" "
         "header_type=\"UInt64\">\n"
         "  <PolyData>\n";
  if (alphaDegrees != 0 || mach > 0) {
    out << "    <FieldData>\n";
    const auto value = [&](const char* name, double v) {
      out << "      <DataArray type=\"Float64\" Name=\"" << name
          << "\" NumberOfTuples=\"1\" format=\"ascii\">" << v << "</DataArray>\n";
    };
    if (alphaDegrees != 0) value("alpha_deg", alphaDegrees);
    if (mach > 0) value("mach", mach);
    out << "    </FieldData>\n";
  }
  out << "    <Piece NumberOfPoints=\"" << points
      << "\" NumberOfVerts=\"0\" NumberOfLines=\"0\" NumberOfStrips=\"0\" "
      << "NumberOfPolys=\"" << static_cast<long>(results.size()) << "\">\n"
      << "      <Points>\n"
         "        <DataArray type=\"Float64\" NumberOfComponents=\"3\" format=\"ascii\">\n";
  // Each panel's own corners, from the last to the first: seen from outside they then run
  // counter-clockwise, the way a polygon's normal points to its viewer.
  for (const PanelResult& r : results) {
    for (int k = s.NCor(r.i, r.j); k >= 1; --k) {
      out << "          " << s.xCor(r.i, r.j, k) << " " << s.yCor(r.i, r.j, k) << " "
          << s.zCor(r.i, r.j, k) << "\n";
    }
  }
  out << "        </DataArray>\n"
         "      </Points>\n"
         "      <Polys>\n"
         "        <DataArray type=\"Int64\" Name=\"connectivity\" format=\"ascii\">\n";
  for (long p = 0; p < points; ++p)
    out << (p % 12 == 0 ? "          " : " ") << p << (p % 12 == 11 ? "\n" : "");
  out << "\n        </DataArray>\n"
         "        <DataArray type=\"Int64\" Name=\"offsets\" format=\"ascii\">\n";
  long offset = 0;
  for (const PanelResult& r : results) {
    offset += s.NCor(r.i, r.j);
    out << "          " << offset << "\n";
  }
  out << "        </DataArray>\n"
         "      </Polys>\n"
         "      <CellData Scalars=\"one_minus_Cp\" Vectors=\"velocity\">\n";
  CellArray(out, "Float64", "source_strength", 1, results,
            [](Out& o, const PanelResult& r) { o << r.sigma; });
  CellArray(out, "Float64", "velocity", 3, results,
            [](Out& o, const PanelResult& r) { o << r.Vx << " " << r.Vy << " " << r.Vz; });
  CellArray(out, "Float64", "one_minus_Cp", 1, results,
            [](Out& o, const PanelResult& r) { o << r.oneMinusCp; });
  CellArray(out, "Float64", "Cp", 1, results, [](Out& o, const PanelResult& r) { o << r.Cp; });
  CellArray(out, "Float64", "area", 1, results, [](Out& o, const PanelResult& r) { o << r.area; });
  CellArray(out, "Int32", "i", 1, results,
            [](Out& o, const PanelResult& r) { o << static_cast<long>(r.i); });
  CellArray(out, "Int32", "j", 1, results,
            [](Out& o, const PanelResult& r) { o << static_cast<long>(r.j); });
  out << "      </CellData>\n"
         "    </Piece>\n"
         "  </PolyData>\n"
         "</VTKFile>\n";
  out.Flush();
}

}  // namespace tarvenol
