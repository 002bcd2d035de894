// The toolkit's own texts (the colour, font and file dialogs, standard
// buttons, context menus of edit boxes) in simplified Chinese, like the
// rest of the programs.
#pragma once

namespace platform {

// Installs the toolkit's Chinese translation on the running application.
// False when the translation files are not installed; the toolkit's texts
// then stay English.
bool InstallToolkitTranslation();

} // namespace platform
