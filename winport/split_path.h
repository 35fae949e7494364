// _splitpath of the Microsoft C runtime (msvcrt) after _setmbcp(932): a path taken apart into
// drive, folder, file name and extension, double-byte characters scanned as units.
#pragma once

#include <cstddef>

namespace winport {

// The buffer sizes the runtime expects (_MAX_DRIVE, _MAX_DIR, _MAX_FNAME, _MAX_EXT).
constexpr std::size_t kMaxDrive = 3;
constexpr std::size_t kMaxDir = 256;
constexpr std::size_t kMaxFname = 256;
constexpr std::size_t kMaxExt = 256;

// Splits path into the buffers given (any may be nullptr; each receives a terminated text):
// - drive: the first two bytes when the second is ':' ("C:", whatever the first byte is);
// - dir: from there up to and including the last '\' or '/' ("\dir\", "/a/"), else "";
// - fname: the rest up to its last '.', or all of it without a '.' (".ext" has none);
// - ext: from that last '.' to the end ("f.tar.gz" gives "f.tar" and ".gz"); a '.' in the
//   folder part is no extension ("dir.d\file" has none).
// Separators and dots are found character by character, so the second byte 0x5C of 表 or ソ
// ends no folder ("C:\dir\表.txt" gives "\dir\", "表", ".txt"). A lone lead byte at the end is
// a single byte. A part longer than its buffer is cut to size - 1 bytes, as msvcrt does
// (Wine empties every part instead); unlike msvcrt, the cut never splits a double-byte
// character. nullptr path: every part empty.
void SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext);

}  // namespace winport
