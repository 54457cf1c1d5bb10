#include "reporter/page_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "files/file_names.h"
#include "data/recordset/recordset.h"
#include "automation/text.h"
#include "automation/type_info.h"
#include "reporter/field_class.h"
#include "reporter/page_links.h"
#include "reporter/preview_tables.h"
#include "reporter/report_pictures.h"
#include "reporter/report_statistics.h"
#include "reporter/text_to_html.h"
#include "reporter/url_path.h"

namespace quelo {
namespace {

constexpr const char* kBlankParagraph = "<P>  </P>";

// The section number: what follows "Section" in the heading; 0 for a page's first section. A
// number beyond 32 bits is held at the nearest end, where no page has a section.
int32_t sectionNumber(const std::string& heading) {
  if (!heading.starts_with("Section")) return 0;
  const double n = val(std::string_view(heading).substr(7));
  return static_cast<int32_t>(std::clamp(n, double{INT32_MIN}, double{INT32_MAX}));
}

// The section that closes the page: its statistics and page links go there.
bool closesPage(const SectionContext& ctx, int32_t s, int32_t n) {
  if (ctx.curPage < ctx.totalPage) return s == n - 1;
  const int32_t last = ctx.numRecsOnPage % 5 != 0 ? n : n - 1;
  return s == last;
}

// The text a value is written and counted with; none for Null or a value without a text form.
std::optional<std::string> valueText(const Variant& v) {
  if (v.isArray() || v.isObject()) return std::nullopt;
  auto text = toString(v);
  if (!text) return std::nullopt;
  return std::move(text).value();
}

// The number a value counts with in the statistics: its leading decimal number when it is
// numeric ("&H10" counts 0). A finite number's own text starts with all of it, so it is read
// straight from that text; "Infinity" has no digits and counts 0.
std::optional<double> countedNumber(const Variant& v, const std::string& text) {
  switch (v.type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::LongLong: {
      auto n = toDouble(v);
      return n ? std::optional<double>(n.value()) : std::nullopt;
    }
    case VarType::Double: {
      double x = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
      if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(x)) return x;
      return leadingNumber(text);
    }
    default:
      return isNumeric(v) ? std::optional<double>(leadingNumber(text)) : std::nullopt;
  }
}

// A cell as the writer sees it: its text, and the number it counts with when it is numeric.
struct CellText {
  std::string_view text;  // into the record set, or into the reader's scratch text
  std::optional<double> number;
};

// Reads the current record's cell; none for a missing field, Null or a value without a text
// form. Text is read in place, as most cells are text and copying each would cost the most.
std::optional<CellText> readCell(const Recordset& section, std::optional<int> field, std::string& scratch) {
  auto cell = field ? section.cell(*field) : Result<CellView>(Error{});
  if (!cell) return std::nullopt;
  const CellView& c = cell.value();
  if (c.kind == CellKind::Text)
    return CellText{c.text, isNumericText(c.text) ? std::optional<double>(leadingNumber(c.text))
                                                  : std::nullopt};
  const Variant v = c.toVariant();
  std::optional<std::string> text = valueText(v);
  if (!text) return std::nullopt;
  scratch = std::move(*text);
  return CellText{scratch, countedNumber(v, scratch)};
}

// 1-based position of `what` in `text` from position `start`, 0 when absent.
size_t inStr(std::string_view text, std::string_view what, size_t start = 1) {
  if (start == 0 || start > text.size()) return 0;
  const size_t at = text.find(what, start - 1);
  return at == std::string_view::npos ? 0 : at + 1;
}

class SectionDocument {
 public:
  // The document is built in `doc`, which starts empty.
  SectionDocument(std::string& doc, const SectionContext& ctx, Recordset& section, int32_t fieldCount,
                  const std::vector<std::string>& names, const std::string& colour)
      : ctx_(ctx),
        s_(*ctx.settings),
        section_(section),
        fieldCount_(fieldCount),
        names_(names),
        colour_(colour),
        cellStart_("<TD><BGCOLOR=[" + colour + "]>"),
        doc_(doc) {}

  void heading(const std::string& heading);
  void headerBlock();
  void sectionLinks(int32_t n, int32_t s);
  void table();
  void closingBlocks();
  void append(std::string_view text) { doc_ += text; }

 private:
  void startMinimumsAndMaximums();
  void row(const std::vector<std::optional<int>>& fields);
  void cell(size_t position, const std::string& name, std::optional<int> field);
  void localPathOrLinkCell(std::string_view v, int field);
  bool pictureCell(const std::string& name, std::string_view v);
  std::string settingPicture(const std::string& path, const char* setting);
  void plainCell(std::string_view v);
  void pageStatistics();
  void overallStatistics();
  const std::string* outputName(size_t j) const { return j < names_.size() ? &names_[j] : nullptr; }
  std::optional<size_t> outputPosition(const std::string& name) const;

  const SectionContext& ctx_;
  const ReportSettings& s_;
  Recordset& section_;
  int32_t fieldCount_;
  const std::vector<std::string>& names_;
  const std::string& colour_;
  const std::string cellStart_;  // every data cell starts with the table colour
  std::string& doc_;
  std::string scratch_;  // the text of a cell that is not text in the record set
};

void SectionDocument::heading(const std::string& heading) {
  doc_ += "<HTML><HEAD></HEAD><BODY><H3> <A Name='" + heading + "'>" + heading + "</A></H3>";
  doc_ += "<META NAME=\"GENERATOR\" CONTENT=\"";
  doc_ += kGeneratorText;
  doc_ += "\">";
  doc_ += "<FONT FACE =" + s_.FontName + ",Times New Roman,Arial,Courier New</FONT>";
}

void SectionDocument::headerBlock() {
  if (ctx_.curPage == 1) {
    if (!s_.Logo.empty())
      doc_ += "<P Align=Center><img src = " + settingPicture(s_.Logo, "Logo") + " ALT = Logo_here ></P> ";
    doc_ += "<P Align=Center><B>";
    const size_t dot = inStr(s_.Website, ".", 2);
    if (dot > 0 && inStr(s_.Website, ".", dot + 2) > 0)
      doc_ += " Visit our Website ...   <A HREF='" + s_.Website + "'>" + s_.Website + "</A> ";
    if (inStr(s_.Email, "@", 2) > 0 && inStr(s_.Email, ".", 4) > 0)
      doc_ += " &nbsp;&nbsp;&nbsp;  E-mail us now ... <A HREF=mailto:" + s_.Email + ">" + s_.Email + "</A><Br>";
    doc_ += " </B></P>";
    startMinimumsAndMaximums();
  }
  if (!s_.Header.empty()) doc_ += "<EM> " + s_.Header + "</EM>  <Br>";
  doc_ += kBlankParagraph;
  if (ctx_.curPage == 1 && s_.UseNotes == 1 && s_.NotesPosition == 0) {
    doc_ += TextToHtml(s_.Notes);
    doc_ += kBlankParagraph;
  }
}

void SectionDocument::startMinimumsAndMaximums() {
  ReportStatistics& stats = reportStatistics();
  for (int32_t j = 0; j < fieldCount_; ++j) {
    const std::string* name = outputName(static_cast<size_t>(j));
    if (!name) continue;
    auto v = section_.value(*name);
    std::optional<std::string> text = v ? valueText(v.value()) : std::nullopt;
    if (!text) continue;
    const double x = leadingNumber(*text);
    stats.reportMinimums[static_cast<size_t>(j)] = x;
    stats.reportMaximums[static_cast<size_t>(j)] = x;
  }
}

void SectionDocument::sectionLinks(int32_t n, int32_t s) {
  const bool lastPage = ctx_.curPage == ctx_.totalPage;
  const int32_t last = lastPage && ctx_.numRecsOnPage % 5 != 0 ? n : n - 1;
  // Every section of a page has the same links, so they are built once while the pages last.
  thread_local std::optional<SectionLinks> links;
  if (!links || links->last() != std::max(last, 0)) links.emplace(last);
  links->appendExcept(doc_, s);
}

void SectionDocument::table() {
  doc_ += "<TABLE BORDER=1 BORDERCOLOR=BLACK CELLPADDING=5 ALIGN=CENTER BGCOLOR=[" + colour_ + "]<TR>";
  std::vector<std::optional<int>> fields;
  for (int32_t j = 0; j < fieldCount_; ++j) {
    const std::string* name = outputName(static_cast<size_t>(j));
    const std::string shown = name ? *name : std::string();
    doc_ += "<TH>" + (ctx_.escapeValues ? escapedMarkup(shown) : shown) + "</TH>";
    auto index = name ? section_.fieldIndex(*name) : Result<int>(Error{});
    fields.push_back(index ? std::optional<int>(index.value()) : std::nullopt);
  }
  doc_ += "</TR>";
  for ((void)section_.moveFirst(); !section_.eof();) {
    row(fields);
    ++reportStatistics().recordsWritten;
    if (!section_.moveNext()) break;
  }
  doc_ += "</TABLE>";
  doc_ += kBlankParagraph;
}

void SectionDocument::row(const std::vector<std::optional<int>>& fields) {
  doc_ += "<TR>";
  for (size_t j = 0; j < fields.size(); ++j) cell(j, *outputName(j), fields[j]);
  doc_ += "</TR>";
}

void SectionDocument::cell(size_t position, const std::string& name, std::optional<int> field) {
  const std::optional<CellText> cell = readCell(section_, field, scratch_);
  if (!cell) return plainCell("");  // Null, or no text form: an empty cell keeps the columns
  if (cell->number) reportStatistics().count(position, *cell->number);
  std::string_view v = cell->text;
  std::string trimmed;
  if (ctx_.containPictureFields) {
    trimmed = trimSpaces(v);
    v = trimmed;
    if (!v.empty() && pictureCell(name, v)) return;
  }
  if (v.find('#') == std::string_view::npos && v.find(":\\") == std::string_view::npos) return plainCell(v);
  localPathOrLinkCell(v, *field);
}

// A value holding "#" or ":\": a local path is written in its short form between "#" marks, and
// "#"-marked text in a hyperlink field becomes a link.
void SectionDocument::localPathOrLinkCell(std::string_view text, int field) {
  std::string v(text);
  const size_t p0 = inStr(v, "#");
  const size_t p1 = p0 > 0 && v.size() > p0 ? inStr(v, "#", p0 + 1) : 0;
  const bool linkValue = p1 > 0;
  if (inStr(v, " ") > 0 && inStr(v, ":\\") >= 2) {
    std::erase(v, '#');
    v = "#" + percentEncodedPath(ShortFileName(*ctx_.files, v)) + "#";
  }
  const FieldInfo& info = section_.fields()[field];
  if (linkValue && FieldClass(info) == "hyperlink") {
    if (p0 > 1) v = v.substr(0, p0 - 1);
    else v = v.size() >= 2 ? v.substr(1, v.size() - 2) : std::string();
    if (ctx_.escapeValues) v = escapedMarkup(v);
    doc_ += cellStart_;
    if (v.find('@') != std::string::npos) doc_ += "<A HREF=mailto:" + v + ">" + v + "</A>";
    else doc_ += "<A HREF='" + v + "'>" + v + "</A>";
    doc_ += "</TD>";
    return;
  }
  plainCell(v);
}

bool SectionDocument::pictureCell(const std::string& name, std::string_view v) {
  const PreviewTables& tables = *ctx_.previewTables;
  for (size_t c = 0; c < tables.gridColumnNames.size() && c < tables.pictureFolders.size(); ++c) {
    if (tables.pictureFolders[c].empty() || !equalsIgnoreCase(tables.gridColumnNames[c], name)) continue;
    const std::string full = tables.pictureFolders[c] + std::string(v);
    std::string path = ShortFileName(*ctx_.files, full);
    if (ctx_.pictures) path = ctx_.pictures->address(name, full, path);
    path = percentEncodedPath(path);
    doc_ += cellStart_ + "<A Href=" + path + "> <img src = " + path +
            " border=0 width=120 height=120 ALT = image_here align=center> </A></TD>";
    return true;
  }
  return false;
}

// The logo or the signature: its path as the settings give it, or, when the report copies its
// pictures, the copy beside the pages.
std::string SectionDocument::settingPicture(const std::string& path, const char* setting) {
  if (!ctx_.pictures || !ctx_.pictures->copying()) return path;
  const std::string stored = ShortFileName(*ctx_.files, path);
  if (stored.empty()) return path;
  return percentEncodedPath(ctx_.pictures->address(setting, path, stored));
}

void SectionDocument::plainCell(std::string_view v) {
  doc_ += cellStart_;
  appendTextToHtml(doc_, v, ctx_.escapeValues ? Markup::Escaped : Markup::Kept);
  doc_ += "</TD>";
}

std::optional<size_t> SectionDocument::outputPosition(const std::string& name) const {
  for (int32_t j = 0; j < fieldCount_; ++j)
    if (const std::string* n = outputName(static_cast<size_t>(j)); n && *n == name) return static_cast<size_t>(j);
  return std::nullopt;
}

void SectionDocument::closingBlocks() {
  pageStatistics();
  if (ctx_.curPage == ctx_.totalPage || reportStatistics().recordsWritten == ctx_.cumTotalRecs) overallStatistics();
  if (!s_.Footer.empty()) doc_ += "<EM> " + s_.Footer + "</EM>  <Br>";
}

void SectionDocument::pageStatistics() {
  ReportStatistics& stats = reportStatistics();
  std::string text = std::to_string(ctx_.numRecsOnPage) + " records in this Vol. <Br> ";
  for (const auto& [item, selected] : ctx_.sumFields) {
    if (!selected) continue;
    const std::optional<size_t> at = outputPosition(item);
    if (!at) continue;
    text += "Sum of " + item + " = " + statText(stats.pageSums[*at]) + " <Br> ";
    stats.reportTotals[*at] = valueOf(stats.reportTotals[*at]) + valueOf(stats.pageSums[*at]);
  }
  doc_ += text;
  doc_ += kBlankParagraph;
  std::fill(stats.pageSums.begin(), stats.pageSums.end(), std::nullopt);
}

void SectionDocument::overallStatistics() {
  ReportStatistics& stats = reportStatistics();
  std::string text = s_.PagesOption == 0
                         ? "<B>" + std::to_string(ctx_.cumTotalRecs) + " records altogether. </B> <Br> "
                         : std::string("<B> For this Vol (page of records): </B> <Br>");
  const bool spansPages = ctx_.numRecsOnPage < stats.recordsWritten;
  const double divisor = spansPages ? ctx_.cumTotalRecs : ctx_.numRecsOnPage;
  for (const auto& [item, selected] : ctx_.sumFields) {
    if (!selected) continue;
    const std::optional<size_t> at = outputPosition(item);
    if (!at || divisor == 0) continue;  // no field, or an average of nothing: no line
    const double total = valueOf(stats.reportTotals[*at]);
    text += "<B> " + item + "</B> : Total = " + statText(stats.reportTotals[*at]) +
            " ; Average = " + statNumber(total / divisor) +
            " ; Minimum = " + statText(stats.reportMinimums[*at]) +
            " ; Maximum = " + statText(stats.reportMaximums[*at]) + " <Br> ";
  }
  doc_ += text;
  doc_ += kBlankParagraph;
  for (Accumulator* a : {&stats.reportTotals, &stats.reportMinimums, &stats.reportMaximums})
    std::fill(a->begin(), a->end(), std::nullopt);
  stats.recordsWritten = 0;
  if (s_.UseNotes == 1 && s_.NotesPosition == 1) {
    doc_ += TextToHtml(s_.Notes);
    doc_ += kBlankParagraph;
  }
  if (!s_.Signature.empty())
    doc_ += "<P Align=Left><img src = " + settingPicture(s_.Signature, "Signature") + " ALT = Signature_here ></P> ";
}

}  // namespace

Status WriteReportSection(OutputFile& page, const std::string& filePath, Recordset& section, int32_t fieldCount,
                          const std::vector<std::string>& outputNames, const std::string& heading,
                          int32_t sectionCount, const std::string& tableColour, const SectionContext& ctx) {
  reportStatistics().resize(static_cast<size_t>(std::max(fieldCount, 0)));
  const int32_t s = sectionNumber(heading);
  (void)section.moveFirst();
  // The page file takes the section as one quoted piece; the text's room is kept for the next.
  thread_local std::string text;
  text.clear();
  SectionDocument doc(text, ctx, section, fieldCount, outputNames, tableColour);
  doc.append("\"");
  doc.heading(heading);
  if (ctx.advSettings && s == 0) doc.headerBlock();
  if (sectionCount > 0) doc.sectionLinks(sectionCount, s);
  doc.append(kBlankParagraph);
  doc.table();
  const bool closing = closesPage(ctx, s, sectionCount);
  if (closing && ctx.advSettings) doc.closingBlocks();
  if (closing && ctx.totalPage > 1) doc.append(pageNavigation(filePath, ctx.curPage, ctx.totalPage));
  doc.append("<P>  </P> </BODY></HTML>\"\r\n");
  (void)section.moveFirst();
  return page.write(text);
}

}  // namespace quelo
