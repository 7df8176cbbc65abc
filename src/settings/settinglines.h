#pragma once

#include "core/fileio.h"

#include <QString>

#include <string>
#include <vector>

// "setting.txt" in the working directory, line by line: the only code that
// touches the file. settings::Settings (settings.h) reads and writes it
// through these, and the repair it runs. Lines nobody reads survive every write.
namespace settings {

// The lines, from 1; a missing option line (5 and on) is the option's default.
inline constexpr int kDisplayModeLine = 1;
inline constexpr int kTextSpeedLine = 2;
inline constexpr int kAutoSpeedLine = 3; // auto-advance
inline constexpr int kVolumeLine = 4;    // music
inline constexpr int kWholeLineFirstLine = 5; // 点击时先显示整句
inline constexpr int kSkipReadOnlyLine = 6;   // 仅快进已读文本
inline constexpr int kInterludeModeLine = 7;  // 互动难度
inline constexpr int kTextSizeLine = 8;       // 文字大小
inline constexpr int kBoxOpacityLine = 9;     // 文本框不透明度
inline constexpr int kReadAloudLine = 10;     // 朗读
inline constexpr int kTextFormLine = 11;      // 文字 简体 / 繁體

// The lines this game reads; a file too large to be its own keeps only these.
inline constexpr std::size_t kSettingLines = 11;

// All lines of the file, without line ends; false when there is none to read.
// state (when given) tells a missing file from one that cannot be read, which
// is never written over; oversized (when given) that the file was too large and
// only its first kSettingLines lines were kept.
bool readLines(std::vector<std::string> *lines, core::FileState *state = nullptr, bool *oversized = nullptr);

// Rewrites the whole file in one piece; false (with one warning) when it
// cannot, and then the file is as it was.
bool writeLines(const std::vector<std::string> &lines);

// Text of line n (1-based) without its line end. Throws std::out_of_range
// ("行号 n 超出文件范围（文件共 k 行）") when the file has fewer than n lines.
std::string readSettingLine(int n);

// Makes line n equal to text and rewrites the file in one piece, so a crash or a
// full disk never leaves half a file. n may be one past the end (appends).
// Throws std::out_of_range ("行号超出文件范围") further out; the file is unchanged.
// A line that already holds the text is not rewritten. False (with a warning)
// when the file could not be written.
bool writeSettingLine(const std::string &text, int n);

// Parses like the C library's string-to-float in the "C" locale, whatever
// locale the process runs in: leading blanks skipped, longest numeric prefix
// taken ("1e" is 1, "0x1p-1" is 0.5), the rest ignored. False when no number is
// there or it is beyond the float range.
bool parseFloatPrefix(const std::string &text, float *value);

// "%f" of a setting value (0.250000), with a decimal point in any locale.
std::string formatSettingNumber(float value);

// A player's new game folder starts from the settings shipped in shippedDir;
// one that has its own keeps them.
void seedSettingsFile(const QString &folder, const QString &shippedDir);

} // namespace settings
