// Embeds the control without a window: embed-control APP_FOLDER. Reports on records the program
// holds itself, once through the typed API and once through the control's AutoZeReporter, then
// logs a message through the control. Prints the pages of the typed report, one a line.
#include <iostream>
#include <iterator>
#include <memory>

#include <varnikquelo/control.h>
#include <varnikquelo/report.h>

namespace {

struct Planet {
  const char* name;
  int moons;
  double distance;  // from the sun, in astronomical units
};

constexpr Planet kPlanets[] = {{"Mercury", 0, 0.39}, {"Venus", 0, 0.72}, {"Earth", 1, 1.0},   {"Mars", 2, 1.52},
                               {"Jupiter", 95, 5.2}, {"Saturn", 146, 9.54}, {"Uranus", 28, 19.2}, {"Neptune", 16, 30.06}};

// The program's own records, handed to the library a pass at a time.
class Planets : public varnikquelo::RecordSource {
 public:
  std::vector<varnikquelo::Field> fields() const override {
    using varnikquelo::FieldType;
    return {{"Name", FieldType::Text}, {"Moons", FieldType::Int32}, {"Distance", FieldType::Double}};
  }
  std::unique_ptr<varnikquelo::RecordCursor> read() const override { return std::make_unique<Cursor>(); }

 private:
  class Cursor : public varnikquelo::RecordCursor {
   public:
    bool next(std::vector<varnikquelo::Value>& row) override {
      if (next_ == std::size(kPlanets)) return false;
      const Planet& p = kPlanets[next_++];
      row = {p.name, p.moons, p.distance};
      return true;
    }
    int64_t count() const override { return static_cast<int64_t>(std::size(kPlanets)); }

   private:
    size_t next_ = 0;
  };
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: embed-control APP_FOLDER\n";
    return 2;
  }
  const varnikquelo::Records planets = varnikquelo::Records::host(std::make_shared<Planets>());

  varnikquelo::ReportRequest request;
  request.source = varnikquelo::ReportSource::records(planets);
  request.title = "Planets";
  request.fileName = "planets.htm";
  request.applicationPath = argv[1];
  request.recordsPerPage = 4;
  request.sums = {"Moons"};
  const varnikquelo::ReportResult result = varnikquelo::makeReport(request);
  if (!result.ok()) {
    std::cerr << "embed-control: " << result.error.message << "\n";
    return 1;
  }

  varnikquelo::Control control;
  control.put("ApplicationPath", std::string(argv[1]));
  int steps = 0;
  control.onEvent([&steps](const std::string& event, std::vector<varnikquelo::Value>&) {
    if (event == "ReportStatus") ++steps;
  });
  const varnikquelo::CallResult made =
      control.call("AutoZeReporter", {planets, "", "", "moons.htm", "Moons", 0});
  if (!made.ok() || !made.value.asBool()) {
    std::cerr << "embed-control: AutoZeReporter: " << (made.ok() ? "no report" : made.error.message) << "\n";
    return 1;
  }
  const varnikquelo::CallResult logged = control.call("LogMessage", {"embed-control: two reports written"});
  if (!logged.ok()) {
    std::cerr << "embed-control: LogMessage: " << logged.error.message << "\n";
    return 1;
  }
  std::cerr << "AutoZeReporter: " << steps << " status events\n";
  for (const std::string& page : result.pages) std::cout << page << "\n";
  return 0;
}
