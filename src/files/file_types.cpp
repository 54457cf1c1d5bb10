#include "files/file_types.h"

namespace quelo {
namespace {

struct FileType {
  const char* item;
  const char* pattern;
};

// Pictures includes PNG and JPE files, which the logo and signature pictures may be.
constexpr FileType kTypes[kFileTypeCount] = {
    {"All", "*.*"},
    {"Documents", "*.txt;*.rtf;*.lin;*.wp;*.doc;*.docx;*.ppt;*.pdf;*.ps;*.xls;*.eml"},
    {"Pictures", "*.bmp;*.gif;*.jpeg;*.jpg;*.jpe;*.png;*.ico;*.wmf;*.emf;*.dib;*.pcx;*.pct;*.xbm;*.cdr;*.tiff"},
    {"Executables", "*.exe;*.com;*.bat;*.bin"},
    {"Libraries", "*.dll;*.tbl;*.ocx"},
    {"Internet", "*.html;*.htm;*.eml;*.asp;*.mht;*.mhtml;*.jsp;*.xml;*.hcx;*.alx;*.idc;*.cfm;*.chm;*.php"},
    {"Sound", "*.rmi;*.midi;*.mid;*.wav;*.mp3;*.mp5;*.au"},
    {"Movie", "*.avi;*.dat;*.mov;*.mpeg;*.mpg;*.mp4;*.mvp;*.vbs;*.mpa;*.mp2;*.aif;*.qt"},
};

}  // namespace

const char* fileTypeItem(int index) { return index >= 0 && index < kFileTypeCount ? kTypes[index].item : ""; }

std::string fileTypePattern(int16_t& index) {
  return index >= 0 && index < kFileTypeCount ? kTypes[index].pattern : "*.*";
}

}  // namespace quelo
