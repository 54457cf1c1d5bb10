// The headless control of the public API: a ZeQuelo with the machine's services, on a site that
// hands its events to the host's callback and keeps nothing (a host may run for months).
#include <varnikquelo/control.h>

#include <exception>
#include <filesystem>
#include <optional>
#include <utility>

#include "component/component.h"
#include "control/default_services.h"
#include "control/type_library.h"
#include "control/ze_quelo.h"
#include "automation/text.h"
#include "data/recordset/ado.h"
#include "data/public_value.h"
#include "files/path_rules.h"
#include "platform/headless/headless_site.h"

namespace varnikquelo {

static_assert(kSourceFailed == quelo::ado::kErrDataSource);

namespace {

ControlError errorOf(const quelo::Error& e) { return ControlError{e.number, e.message}; }

CallResult failed(const quelo::Error& e) {
  CallResult out;
  out.error = errorOf(e);
  return out;
}

CallResult resultOf(const quelo::Result<quelo::Variant>& result) {
  if (!result) return failed(result.error());
  auto value = quelo::valueOf(result.value());
  if (!value) return failed(value.error());
  CallResult out;
  out.value = std::move(value).value();
  return out;
}

// A relative ApplicationPath means a folder under the current one, as ReportRequest's does (the
// control itself takes anchored paths only, and would drop it).
Value anchoredApplicationPath(const std::string& property, const Value& value) {
  if (!quelo::equalsIgnoreCase(property, "ApplicationPath") || value.kind() != Value::Kind::Text) return value;
  const std::string path = quelo::trimSpaces(value.asText());
  if (path.empty() || quelo::isAnchoredPath(path)) return value;
  return Value((std::filesystem::current_path() / path).string());
}

class HostSite : public quelo::ControlSite {
 public:
  quelo::Result<bool> ambientUserMode() override { return true; }
  quelo::Result<std::string> ambientDisplayName() override { return std::string("ZeQuelo1"); }
  quelo::Status propertyChanged(std::string_view) override { return quelo::Status::ok(); }
  std::shared_ptr<quelo::Dispatch> findControl(std::string_view) override { return nullptr; }

  // The host's handler sees the arguments as values; what it changes goes back to the control.
  // An exception it throws stops there: kept for the member that raised the event, and a report
  // in progress is cancelled.
  void fireEvent(std::string_view name, int32_t, quelo::Args& args) override {
    if (!handler) return;
    std::vector<Value> values;
    for (const quelo::Variant& a : args) values.push_back(quelo::valueOf(a).valueOr(Value()));
    try {
      handler(std::string(name), values);
    } catch (const std::exception& e) {
      threw(name, e.what(), args);
      return;
    } catch (...) {
      threw(name, "an exception that is not a std::exception", args);
      return;
    }
    for (size_t i = 0; i < args.size() && i < values.size(); ++i)
      if (auto back = quelo::variantOf(values[i])) args[i] = std::move(back).value();
  }

  // The error of the first exception a handler threw since the last call, once.
  std::optional<ControlError> takeThrown() { return std::exchange(thrown_, std::nullopt); }

  Control::EventHandler handler;

 private:
  static constexpr size_t kReportStatusCancel = 3;

  void threw(std::string_view event, const std::string& what, quelo::Args& args) {
    if (!thrown_) thrown_ = ControlError{kHandlerThrew, "the " + std::string(event) + " handler threw: " + what};
    if (event == "ReportStatus" && args.size() > kReportStatusCancel) args[kReportStatusCancel] = quelo::Variant(true);
  }

  std::optional<ControlError> thrown_;
};

}  // namespace

struct Control::Impl {
  Impl() {
    component->applicationPath = (std::filesystem::current_path() / "").string();
    control = quelo::ZeQuelo::create(component, services->platform(), site, window);
    control->initProperties();
  }
  ~Impl() { control->terminate(); }

  std::unique_ptr<quelo::DefaultServices> services = quelo::makeDefaultServices();
  std::shared_ptr<quelo::Component> component = std::make_shared<quelo::Component>();
  HostSite site;
  quelo::HeadlessWindow window;
  std::shared_ptr<quelo::ZeQuelo> control;
};

Control::Control() : impl_(std::make_unique<Impl>()) {}
Control::~Control() = default;
Control::Control(Control&&) noexcept = default;
Control& Control::operator=(Control&&) noexcept = default;

CallResult Control::call(const std::string& member, std::vector<Value>& args) {
  quelo::Args values;
  for (const Value& a : args) {
    auto v = quelo::argumentOf(a, *impl_->control->platform().files);
    if (!v) return failed(v.error());
    values.push_back(std::move(v).value());
  }
  impl_->site.takeThrown();
  CallResult out = resultOf(impl_->control->call(member, values));
  if (auto thrown = impl_->site.takeThrown()) out.error = *thrown;
  // By-reference arguments come back; a record set passed stays the caller's handle.
  for (size_t i = 0; i < args.size(); ++i)
    if (args[i].kind() != Value::Kind::Records)
      if (auto back = quelo::valueOf(values[i])) args[i] = std::move(back).value();
  return out;
}

CallResult Control::call(const std::string& member, std::initializer_list<Value> args) {
  std::vector<Value> values(args);
  return call(member, values);
}

CallResult Control::get(const std::string& property) { return resultOf(impl_->control->get(property)); }

ControlError Control::put(const std::string& property, const Value& value) {
  auto v = quelo::argumentOf(anchoredApplicationPath(property, value), *impl_->control->platform().files);
  if (!v) return errorOf(v.error());
  quelo::Status s = impl_->control->put(property, std::move(v).value());
  return s ? ControlError{} : errorOf(s.error());
}

std::vector<std::string> Control::members() {
  std::vector<std::string> names;
  for (const quelo::MemberInfo& m : quelo::zeQueloTypeLibrary().members)
    if (!m.hidden) names.push_back(m.name);
  return names;
}

void Control::onEvent(EventHandler handler) { impl_->site.handler = std::move(handler); }

ControlError Control::processEvents() {
  impl_->site.takeThrown();
  impl_->control->platform().loop->processEvents();
  return impl_->site.takeThrown().value_or(ControlError{});
}

ControlError Control::click() {
  impl_->site.takeThrown();
  impl_->control->labelClicked();
  return impl_->site.takeThrown().value_or(ControlError{});
}

}  // namespace varnikquelo
