// The looks of the report form: the status frame as a grid (a heading over each number and check
// box), a line under the form that says what Generate did (the pages written and where, with a
// link that opens their folder, or why nothing was written and what to do), and a hint in the
// file-name box, which only Save As fills.
#pragma once

namespace quelo {
class Shell;
}

namespace quelo::qt {

class FormDialog;

// `shell` opens the folder of the pages; it outlives the dialog.
void decorateReportForm(FormDialog& dialog, Shell& shell);

}  // namespace quelo::qt
