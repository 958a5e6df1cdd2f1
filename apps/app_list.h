// The installed-application list, rebuilt from the app folder each time it is shown.
#pragma once

namespace kesto::apps {

// Refills 超级列表框1 and InstalledApps from every "<base>...qmz" file below the program
// folder's "app" folder: row k shows the title from "<base>.dat" ([ini] bt) and the picture
// "<base>.gif", and InstalledApps entry k is that application's base name.
void RefreshAppList();

}  // namespace kesto::apps
