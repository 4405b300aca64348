#include <optional>
#include <string>
#include <vector>

#include "geometry/panels.h"
#include "geometry/profile_checks.h"
#include "geometry/profile_resample.h"
#include "report/geometry_sections.h"
#include "report/report_file.h"
#include "session/operations.h"
#include "session/picture_aside.h"

namespace tarvenol {
namespace {

class Geometry : public Operation {
 public:
  Geometry(const ModelState& s, WindowOps& win, BodyKind kind, const std::string& bodyFile,
           double ni, double nj, std::optional<ResampledProfile> resampled = std::nullopt)
      : kind_(kind), typedNI_(ni), resampled_(std::move(resampled)), picture_(win) {
    // The constants go along; every array of the geometry is made anew.
    next_.PI = s.PI;
    next_.TwoPI = s.TwoPI;
    next_.FourPI = s.FourPI;
    next_.OutFile = s.OutFile;
    next_.DecimalSeparator = s.DecimalSeparator;
    next_.BodyFile = kind == BodyKind::GivenBody ? bodyFile : s.BodyFile;
    next_.NI = ni;
    next_.NI1 = ni + 1;
    next_.NJ = nj;
    next_.NJ1 = nj + 1;
  }

 private:
  void Compute(Progress& progress) override {
    Step(progress, Stage::Geometry, 0);
    if (resampled_) {
      BuildGivenProfile(next_, body_, resampled_->profile.x, resampled_->profile.r, next_.BodyFile);
    } else {
      BuildBodyGeometry(next_, body_, kind_, progress);
    }
    Step(progress, Stage::Geometry, 0.5);
    BuildPanels(next_, progress);
    Step(progress, Stage::Geometry, 1);
    report_.emplace(next_.OutFile);
    Step(progress, Stage::Report, 0);
    PrintProfile(next_, body_.xI, body_.rI);
    // The grid's section is about a fifth of the geometry's sections.
    PartProgress grid(progress, 0, 0.2), panels(progress, 0.2, 1);
    PrintBodyCoordinates(next_, grid);
    PrintPanelGeometry(next_, panels);
    if (resampled_) warnings_ = resampled_->warnings;
    if (body_.kind == BodyKind::GivenBody) {
      for (std::string& warning : ProfileWarnings(next_, body_)) warnings_.push_back(warning);
    }
    Step(progress, Stage::Picture, 0);
    picture_.Draw(next_, next_.OneMinusCp, true, false, progress);
  }

  void Take(Program& p, WindowOps& win) override {
    ModelState& s = p.state;
    next_.ShowPanels = true;
    next_.ShowSolution = false;
    next_.GeometryReady = true;
    next_.VinfX = s.VinfX;
    next_.VinfY = s.VinfY;
    next_.VinfZ = s.VinfZ;
    picture_.Follow(next_, win, true, false);

    // The previous solution stays until the method is applied again; it is not drawn.
    next_.OneMinusCp = std::move(s.OneMinusCp);
    s = std::move(next_);
    p.body = std::move(body_);
    report_->Commit();
    picture_.Show(p.view, win);
    if (s.NI1 != typedNI_ + 1) {
      win.SetText(TextBox::Text_NI, std::to_string(static_cast<long long>(s.NI)));
    }
    // A profile resampled was chosen by neither the sphere's button nor the chooser: they stay.
    if (!resampled_) {
      win.SetVisible(kind_ == BodyKind::Sphere ? ManagedControl::Command_Sphere
                                               : ManagedControl::Frame_IOWindow,
                     false);
    }
    win.SetVisible(ManagedControl::Command_HessPan, true);
    for (const std::string& warning : warnings_) win.MessageBox(warning);
  }

  BodyKind kind_;
  double typedNI_;
  std::optional<ResampledProfile> resampled_;
  ModelState next_;
  BodyWork body_;
  std::optional<ReportTransaction> report_;
  std::vector<std::string> warnings_;
  PictureAside picture_;
};

}  // namespace

std::unique_ptr<Operation> GeometryOperation(const ModelState& s, WindowOps& win, BodyKind kind,
                                             const std::string& bodyFile, double ni, double nj) {
  return std::make_unique<Geometry>(s, win, kind, bodyFile, ni, nj);
}

std::unique_ptr<Operation> ResampledGeometryOperation(const ModelState& s, WindowOps& win,
                                                      ResampledProfile resampled,
                                                      const std::string& name, double nj) {
  const auto ni = static_cast<double>(resampled.profile.x.size()) - 1;
  return std::make_unique<Geometry>(s, win, BodyKind::GivenBody, name, ni, nj,
                                    std::move(resampled));
}

}  // namespace tarvenol
