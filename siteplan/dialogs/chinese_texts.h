// The toolkit's colour and font dialogs come with English titles and
// buttons; the property dialogs open them with a Chinese title and "确定"
// and "取消" instead.
#pragma once

#include <QString>

class QDialog;

namespace siteplan {

void UseChineseTexts(QDialog& dialog, const QString& title);

} // namespace siteplan
