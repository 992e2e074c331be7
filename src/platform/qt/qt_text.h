// The handlers' texts as QStrings: UTF-16 code unit for code unit, with no BOM
// handling and no repair of lone surrogates, which QString::fromUtf16 might do;
// and the controls' names as object names.
#pragma once

#include <QString>
#include <string_view>

#include "frm_main_description.h"

namespace colfix {

inline QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

// A control's object name: the name the handlers' code spells it with.
inline QString ObjectName(Control control) {
  const std::string_view name = ControlName(control);
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace colfix
