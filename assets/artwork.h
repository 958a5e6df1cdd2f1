// The artwork of the windows, compiled into the program (drawn by assets/draw.sh).
#pragma once

#include "runtime/layout.h"

namespace kesto::assets {

// Picture buttons, two pictures each: shown normally, and while the pointer is over them.
extern const ui::Picture kLoadAppsNormal;  // 211 x 82, 加载应用 on orange
extern const ui::Picture kLoadAppsHover;
extern const ui::Picture kHomeNormal;  // 84 x 31, 返回首页 on blue
extern const ui::Picture kHomeHover;
extern const ui::Picture kMinimiseNormal;  // 44 x 43, a white bar on light blue
extern const ui::Picture kMinimiseHover;
extern const ui::Picture kCloseNormal;  // 45 x 43, a white X on light blue
extern const ui::Picture kCloseHover;

// The 289 x 100 JPEG beside the right-hand column: a mascot and the test-phase note.
extern const ui::Picture kTestPhaseNote;

// The program's icon: 48, 32, 24 and 16 pixels at 8 bits per pixel, then the same at 32.
extern const ui::Picture kPlatformIcon;

// Design-time pictures of the installed-application list, 155 x 140 GIFs.
extern const ui::Picture kSampleTile1;
extern const ui::Picture kSampleTile2;
extern const ui::Picture kSampleTile3;

}  // namespace kesto::assets
