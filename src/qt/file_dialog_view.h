// What the file dialog adds on screen: a folder typed into the file-name box and confirmed
// with Enter opens that folder, or the box says why it cannot.
#pragma once

namespace quelo::qt {

class FormDialog;

void decorateFileDialog(FormDialog& dialog);

}  // namespace quelo::qt
