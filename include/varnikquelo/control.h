// Control: the control without a window, for hosts that are not Qt programs (a service, a
// command-line tool, a host of another toolkit). It runs with the machine's services (files,
// clock, desktop programs, the settings store), its forms headless, and offers every member by
// name: the timer and delay, the file dialog, the hyperlink opener, the reporter and the message
// log. Its events reach the host through one callback.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <varnikquelo/export.h>
#include <varnikquelo/records.h>
#include <varnikquelo/value.h>

namespace varnikquelo {

// Why a member could not be reached or failed: the control's error number (438 no such member,
// 13 a value of the wrong type, 449 an argument missing, 383 a read-only property, 440 the
// host's event handler threw, 3000 a source of records failed, ...) and its message, which names
// the argument, the type wanted and the type given where those are the cause, and keeps the
// words of a failing source (the what() of an exception a RecordCursor threw).
inline constexpr int kHandlerThrew = 440;
inline constexpr int kSourceFailed = 3000;

struct ControlError {
  int number = 0;
  std::string message;
};

struct CallResult {
  Value value;  // the member's result; Empty for a member without one
  ControlError error;
  bool ok() const { return error.number == 0 && error.message.empty(); }
};

// Exceptions: none leaves the control. An exception thrown by the event handler stops the
// handler; the member that raised the event (call, processEvents, click) answers error 440 with
// the exception's message, and a report it interrupted is cancelled as if Cancel were set.
// Threads: a control belongs to the thread that made it; its members, its timers and its events
// run on that thread, inside the call that raised them. Controls on different threads share
// nothing and may work at once.
class QUELO_API Control {
 public:
  // Events by name, with their arguments, which a handler may change:
  //   "ZeTimer" and "Click": none;
  //   "ReportStatus": TotalPages, ElapsedSeconds, CurrentPage, Cancel, DeleteGeneratedPagesOnCancel,
  //   forFutureUse; setting Cancel to true stops the report, the pages written so far are kept
  //   unless DeleteGeneratedPagesOnCancel is set to true as well.
  using EventHandler = std::function<void(const std::string& event, std::vector<Value>& args)>;

  // A control of its own (its forms and report settings are not shared with other controls), in
  // run mode, its application path the current folder.
  Control();
  ~Control();
  // A control moved from may only be destroyed or assigned to.
  Control(Control&&) noexcept;
  Control& operator=(Control&&) noexcept;

  // A member by name (any letter case): a method, or a property read. Arguments are in the
  // member's order; a Records value is the record set of ShowZeReporter and AutoZeReporter.
  // Arguments the member passes by reference are written back into `args`.
  //
  // ShowZeReporter and AutoZeReporter hold every record of the report in memory: a Records value
  // is read whole, and a forward-only record set is copied into a static one, which the caller
  // gets back in its argument (the source is closed). A host that wants one pass over its records
  // in flat memory calls makeReport (<varnikquelo/report.h>) with ReportSource::records, a
  // Records::host source.
  CallResult call(const std::string& member, std::vector<Value>& args);
  CallResult call(const std::string& member, std::initializer_list<Value> args = {});
  CallResult get(const std::string& property);
  ControlError put(const std::string& property, const Value& value);

  // The names of the members the control offers, as the control's type library lists them.
  static std::vector<std::string> members();

  void onEvent(EventHandler handler);
  // Runs the timers that are due (the ZeTimer event): a host calls it from its own loop. Answers
  // the error of a handler that threw (see above), else no error.
  ControlError processEvents();
  // The host's face of the control was clicked: raises Click; answers as processEvents does.
  ControlError click();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace varnikquelo
