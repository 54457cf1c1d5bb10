#include "control/control_report_host.h"

#include <optional>
#include <utility>

namespace quelo {
namespace {

class ControlReportHost : public ReportHost {
 public:
  explicit ControlReportHost(std::shared_ptr<Dispatch> control) : control_(std::move(control)) {}

  int16_t recordsPerPage() override {
    auto max = control_->get("MaxRecsPerPage");
    auto size = max ? toInteger(max.value()) : Result<int16_t>(int16_t{0});
    return size ? size.value() : 0;
  }

  std::string supplyFileName(const std::string& caption, const std::string& folder,
                             int32_t fileTypes, bool mustExist) override {
    Args args{Variant(caption), Variant(folder), Variant(fileTypes), Variant(mustExist)};
    auto chosen = control_->call("SupplyFileName", args);
    return chosen ? toString(chosen.value()).valueOr("") : std::string();
  }

  // The event's member is looked up once: it is raised before every section.
  void raiseReportStatus(const SectionStep& where, bool& cancel, bool& deleteOnCancel,
                         Variant& spare) override {
    if (!raise_) raise_ = control_->idOfName("RaiseZeReportStatus").valueOr(-1);
    Args args{Variant(where.totalPages), Variant(where.elapsedSeconds), Variant(where.page),
              Variant(cancel),           Variant(deleteOnCancel),       spare};
    if (!control_->invoke(*raise_, InvokeKind::Method, args)) return;
    cancel = toBool(args[3]).valueOr(cancel);
    deleteOnCancel = toBool(args[4]).valueOr(deleteOnCancel);
    spare = args[5];
  }

 private:
  std::shared_ptr<Dispatch> control_;
  std::optional<int32_t> raise_;
};

}  // namespace

std::shared_ptr<ReportHost> reportHostOf(std::shared_ptr<Dispatch> control) {
  return std::make_shared<ControlReportHost>(std::move(control));
}

}  // namespace quelo
