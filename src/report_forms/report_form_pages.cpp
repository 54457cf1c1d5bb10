// QueloReportForm's pages: splitting the report's records into page record sets, the preview of
// one page in the grid (with pictures in picture columns), and paging.

#include "automation/text.h"
#include "component/component.h"
#include "component/preview_tables.h"
#include "data/recordset/recordset.h"
#include "files/file_names.h"
#include "platform/picture_size.h"
#include "report/automatic_report.h"
#include "report/field_class.h"
#include "report/page_stream.h"
#include "report/report_api.h"
#include "report_forms/advanced_settings_form.h"
#include "report_forms/report_form.h"

namespace quelo {

using namespace forms;

namespace {

// What a link stored as "text#address#..." shows: its text, or its address when it has none.
std::string linkText(const std::string& stored) {
  const size_t mark = stored.find('#');
  if (mark == std::string::npos) return stored;
  if (mark > 0) return stored.substr(0, mark);
  const size_t end = stored.find('#', 1);
  return stored.substr(1, end == std::string::npos ? std::string::npos : end - 1);
}

// A cell of the preview: a link shows its text.
std::string cellText(Recordset& page, int field) {
  auto v = page.value(field);
  if (!v || v.value().isArray()) return {};
  std::string text = toString(v.value()).valueOr("");
  return fieldClass(page.fields()[field]) == FieldKind::Hyperlink ? linkText(text) : text;
}

}  // namespace

// The records per page, from the control's MaxRecsPerPage. A size that is not a positive 16-bit
// number (the old form divided by zero on 0) falls back to 10; more than 100 pages take 200 a page.
void QueloReportForm::readPageSize() {
  const auto& control = settingsForm().myfControl();
  const int16_t asked = control ? control->recordsPerPage() : 0;
  pageSize_ = static_cast<int16_t>(pageSizeFor(cumTotalRecs_, asked));
}

void QueloReportForm::buildPages() {
  pages_.clear();
  pageStream_.reset();
  currentPage_.reset();
  readPageSize();
  const std::shared_ptr<Recordset>& source = component_.reportRecordset;
  totalPage_ = 0;
  tooManyPages_.clear();
  sourceFailure_.clear();
  // Page numbers are 16-bit: more pages cannot be counted, so the report is refused with why.
  auto count = pageCountOf(cumTotalRecs_, pageSize_);
  if (!count) {
    tooManyPages_ = tooManyRecords(count.error().message);
    return;
  }
  if (!source) return;
  totalPage_ = count.value();
  // Records that are read once, forward, are paged as the report is written; others are cut into
  // views over the shared rows, which copy nothing until a page is written to.
  auto prepared = preparePages(source, cumTotalRecs_, pageSize_);
  if (prepared) {
    pages_ = std::move(prepared.value().pages);
    pageStream_ = std::move(prepared.value().stream);
    if (pageStream_ && !pageStream_->firstPage())
      sourceFailure_ = pageStream_->page(1).error().message;
  }
  curPage_ = 1;
  if (!pages_.empty()) currentPage_ = pages_.front();
  if (totalPage_ > 1) {
    get<CommandButton>("cmdPage", 2).setEnabled(true);
    get<CommandButton>("cmdPage", 3).setEnabled(true);
  }
  setPageCaption();
}

void QueloReportForm::setPageCaption() {
  get<Label>("lblPage").setCaption("Page " + std::to_string(curPage_) + " of " +
                                   std::to_string(totalPage_));
}

void QueloReportForm::showPreviewPage() {
  platform_.cursor->setBusy(true);
  auto& grid = get<DataGrid>("MSHFlexGrid1");
  grid.setSize(0, 0);
  if (currentPage_) {
    auto count = currentPage_->recordCount();
    numRecsOnPage_ = count ? static_cast<int32_t>(count.value()) : 0;
    const FieldList& fields = currentPage_->fields();
    grid.setSize(numRecsOnPage_ + 1, fields.count());
    for (int c = 0; c < fields.count(); ++c) grid.setTextMatrix(0, c, fields[c].name);
    int32_t r = 1;
    for ((void)currentPage_->moveFirst(); !currentPage_->eof(); (void)currentPage_->moveNext(), ++r)
      for (int c = 0; c < fields.count(); ++c) grid.setTextMatrix(r, c, cellText(*currentPage_, c));
    (void)currentPage_->moveFirst();
  }
  if (get<ListBox>("lstAvailable").listCount() == 0) fillFieldTables();
  if (containPictures_) showPictures();
  get<Image>("imgHide").setPicture("");
  platform_.cursor->setBusy(false);
}

// The first preview after a load lists every field as available (all marked), and pairs the
// picture fields with their folders.
void QueloReportForm::fillFieldTables() {
  const DataGrid& grid = get<DataGrid>("MSHFlexGrid1");
  auto& available = get<ListBox>("lstAvailable");
  PreviewTables& tables = component_.previewTables;
  tables.gridColumnNames.clear();
  for (int32_t j = 0; j < grid.cols(); ++j) {
    const std::string name = trimSpaces(grid.textMatrix(0, j));
    available.addItem(name);
    available.setSelected(available.newIndex(), true);
    tables.gridColumnNames.push_back(name);
  }
  tables.pictureFolders = pictureFolders(tables.gridColumnNames, graphicFolderPath_, picFields_);
}

// A picture cell shows its picture instead of its text, sized to it; a missing or unreadable
// picture leaves the cell's text.
void QueloReportForm::showPictures() {
  auto& grid = get<DataGrid>("MSHFlexGrid1");
  auto& hidden = get<Image>("imgHide");
  const std::vector<std::string>& folders = component_.previewTables.pictureFolders;
  for (int32_t c = 0; c < grid.cols() && static_cast<size_t>(c) < folders.size(); ++c) {
    if (folders[static_cast<size_t>(c)].empty()) continue;
    for (int32_t r = 1; r < grid.rows(); ++r) {
      hidden.setPicture("");
      const std::string path = ShortFileName(
          *platform_.files, folders[static_cast<size_t>(c)] + trimSpaces(grid.textMatrix(r, c)));
      const std::optional<PixelSize> size = pictureSize(*platform_.files, path);
      if (!size) continue;
      hidden.setPicture(path);
      grid.setRowHeight(r, size->height * kTwipsPerPixel);
      grid.setColWidth(c, size->width * kTwipsPerPixel);
      grid.setTextMatrix(r, c, "");
      grid.setCellPicture(r, c, path);
    }
  }
}

void QueloReportForm::cmdPage_Click(int index) {
  auto page = [this](int i) -> CommandButton& { return get<CommandButton>("cmdPage", i); };
  const bool several = totalPage_ > 1;
  switch (index) {
    case 0:
      curPage_ = 1;
      if (several) {
        page(2).setEnabled(true);
        page(3).setEnabled(true);
        page(0).setEnabled(false);
      }
      page(1).setEnabled(false);
      break;
    case 1:
      if (curPage_ > 1) {
        --curPage_;
        page(2).setEnabled(true);
        page(3).setEnabled(true);
      }
      if (curPage_ == 1) {
        page(0).setEnabled(false);
        page(1).setEnabled(false);
      }
      break;
    case 2:
      if (curPage_ < totalPage_) {
        ++curPage_;
        page(0).setEnabled(true);
        page(1).setEnabled(true);
      }
      if (curPage_ == totalPage_) {
        page(2).setEnabled(false);
        page(3).setEnabled(false);
      }
      break;
    case 3:
      curPage_ = totalPage_;
      if (several) {
        page(0).setEnabled(true);
        page(1).setEnabled(true);
        page(3).setEnabled(false);
      }
      page(2).setEnabled(false);
      break;
    default:
      return;
  }
  if (curPage_ >= 1 && static_cast<size_t>(curPage_) <= pages_.size())
    currentPage_ = pages_[static_cast<size_t>(curPage_ - 1)];
  showPreviewPage();
  setPageCaption();
}

}  // namespace quelo
