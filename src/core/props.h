#pragma once

// Every context property the pages read, named once. Publishing takes a
// prop::Name, so a misspelt name fails to compile instead of showing nothing.
namespace prop {

struct Name {
    const char *text;
    bool words = false; // text for the player: shown in the chosen script (core/textform.h)
};

// Start-up
inline constexpr Name Controller{"Controller"};
inline constexpr Name Settings{"Settings"}; // every line of setting.txt (core/settingvalues.h)
// The three sliders' values, also as Settings.textSpeed, autoSpeed and volume
inline constexpr Name Vzi{"Vzi"};
inline constexpr Name Vhang{"Vhang"};
inline constexpr Name Inliang{"Inliang"};
inline constexpr Name exePath{"exePath"};

// Staging: background and the five figure layouts
inline constexpr Name bVisible{"bVisible"};
inline constexpr Name bcPath{"bcPath"};
inline constexpr Name a1visible{"a1visible"};
inline constexpr Name a1Path{"a1Path"};
inline constexpr Name a1fvisible{"a1fvisible"};
inline constexpr Name a1fPath{"a1fPath"};
inline constexpr Name a2visible{"a2visible"};
inline constexpr Name a2_1Path{"a2_1Path"};
inline constexpr Name a2_2Path{"a2_2Path"};
inline constexpr Name a3visible{"a3visible"};
inline constexpr Name a3_1Path{"a3_1Path"};
inline constexpr Name a3_2Path{"a3_2Path"};
inline constexpr Name a3_3Path{"a3_3Path"};
inline constexpr Name a3fvisible{"a3fvisible"};
inline constexpr Name a3_1fPath{"a3_1fPath"};
inline constexpr Name a3_2fPath{"a3_2fPath"};
inline constexpr Name a3_3fPath{"a3_3fPath"};

// Text box, answers and the input box; the music box's track title
inline constexpr Name currentText{"currentText"};
inline constexpr Name nameText{"nameText", true};
inline constexpr Name daanvisible{"daanvisible"};
inline constexpr Name ida1{"ida1", true};
inline constexpr Name ida2{"ida2", true};
inline constexpr Name shuruvisible{"shuruvisible"};
inline constexpr Name texte{"texte", true};

// Interlude
inline constexpr Name sjvisible{"sjvisible"};
inline constexpr Name sjx{"sjx"};
inline constexpr Name ditu1visible{"ditu1visible"};
inline constexpr Name ditu2visible{"ditu2visible"};
inline constexpr Name sja1x{"sja1x"};
inline constexpr Name sja1y{"sja1y"};
inline constexpr Name sja2x{"sja2x"};
inline constexpr Name sja2y{"sja2y"};
inline constexpr Name sja1theta{"sja1theta"};
inline constexpr Name sja2theta{"sja2theta"};
inline constexpr Name fsa1visible{"fsa1visible"};
inline constexpr Name fsa2visible{"fsa2visible"};
inline constexpr Name blockCount{"blockCount"};

// Extras
inline constexpr Name extra{"extra"};

// The route map's model (saves/routemap.h) and the way back to a backlog line (saves/rollback.h)
inline constexpr Name routeMap{"routeMap"};
inline constexpr Name lineReturn{"lineReturn"};

} // namespace prop
