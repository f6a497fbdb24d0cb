#ifndef SETTINGSKEYS_H
#define SETTINGSKEYS_H

// The preferences store and its keys. Every reader and writer of the
// preferences creates its QSettings with these two names:
//     QSettings settings(SettingsKeys::organization, SettingsKeys::application);

namespace SettingsKeys {

constexpr const char* organization = "tavrel";
constexpr const char* application = "orvalo3soft";

// string "it", "en" or "de"; absent until the first start chose one
constexpr const char* language = "language";
// bools, read at start-up, take effect at the next start
constexpr const char* logEnabled = "logenabled";
constexpr const char* logClear = "logclear";
// bool, default true: show the import summary and the copyright questions
constexpr const char* copyrightAsk = "copyrightAsk";
// string: root folder of the player's memory chosen last
constexpr const char* mediaRoot = "mediaroot";

// "language" value read at start-up when none was ever chosen
constexpr const char* languageUnset = "--";

} // namespace SettingsKeys

#endif // SETTINGSKEYS_H
