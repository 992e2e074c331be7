// The handlers' UTF-16 text as a QString, code unit for code unit: no BOM
// handling and no repair of lone surrogates, which QString::fromUtf16 might do.
#pragma once

#include <QString>
#include <string_view>

namespace colfix {

inline QString ToQString(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size())).toString();
}

}  // namespace colfix
