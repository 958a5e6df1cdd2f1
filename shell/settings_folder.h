// Settings that stay: qmztx.ini beside the program, where every program of the platform looks
// for it, and a seller told when that folder takes no writes.
#pragma once

namespace kesto::shell {

// Brings back the settings an older build's writes left in the VirtualStore (Windows).
void AdoptMisplacedSettings();

// A program folder that takes no writes (a copy under Program Files) would lose every setting
// and tool: the seller is told so, with the folder, in one message box.
void WarnWhenFolderUnwritable();

}  // namespace kesto::shell
