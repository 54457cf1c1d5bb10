// The headless control of the public API: a ZeQuelo with the machine's services, on a site that
// hands its events to the host's callback and keeps nothing (a host may run for months).
#include <varnikquelo/control.h>

#include <filesystem>

#include "component/component.h"
#include "control/default_services.h"
#include "control/type_library.h"
#include "control/ze_quelo.h"
#include "data/public_value.h"
#include "platform/headless/headless_site.h"

namespace varnikquelo {
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

class HostSite : public quelo::ControlSite {
 public:
  quelo::Result<bool> ambientUserMode() override { return true; }
  quelo::Result<std::string> ambientDisplayName() override { return std::string("ZeQuelo1"); }
  quelo::Status propertyChanged(std::string_view) override { return quelo::Status::ok(); }
  std::shared_ptr<quelo::Dispatch> findControl(std::string_view) override { return nullptr; }

  // The host's handler sees the arguments as values; what it changes goes back to the control.
  void fireEvent(std::string_view name, int32_t, quelo::Args& args) override {
    if (!handler) return;
    std::vector<Value> values;
    for (const quelo::Variant& a : args) values.push_back(quelo::valueOf(a).valueOr(Value()));
    handler(std::string(name), values);
    for (size_t i = 0; i < args.size() && i < values.size(); ++i)
      if (auto back = quelo::variantOf(values[i])) args[i] = std::move(back).value();
  }

  Control::EventHandler handler;
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
  CallResult out = resultOf(impl_->control->call(member, values));
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
  auto v = quelo::argumentOf(value, *impl_->control->platform().files);
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

void Control::processEvents() { impl_->control->platform().loop->processEvents(); }

void Control::click() { impl_->control->labelClicked(); }

}  // namespace varnikquelo
