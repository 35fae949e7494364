// Output paths taken apart, and the chain of missing folders above an output file created in
// one go. Paths are code page 932 text held in the program's 261-byte path buffers (260 bytes
// and the terminator): no path built here ever reaches 261 bytes, and a second byte 0x5C of a
// double-byte character (表, ソ) is never taken for a separator.
#pragma once

#include <cstddef>
#include <string>

// Size of every path buffer: MAX_PATH and the terminator.
constexpr std::size_t kPathBufferSize = 261;

// The text up to and including its last '\' ("" when there is none).
std::string FolderPart(const std::string& path);
// The text after its last '\' (the whole text when there is none).
std::string FilePart(const std::string& path);

// Makes text end with a '\': left alone when its last character already is one; otherwise a
// '\' is appended if the result keeps below `limit` bytes (the size of the buffer it lives
// in). False, text unchanged, when text is empty or there is no room. A text ending in a
// double-byte character whose second byte is 0x5C (表) gets its separator like any other.
bool EnsureSeparator(std::string& text, std::size_t limit);

// The drive and folder of path as _splitpath gives them ("C:\dir\" for "C:\dir\out.xml",
// "C:\" for "C:out.xml"), joined and made to end with a '\' when that does not make it longer
// than path itself. "" when path has neither, and when path is too long for _splitpath to
// give its folder whole (the cut folder would name another one).
std::string DirectoryOf(const std::string& path);

// The folder of path (DirectoryOf) exists. For a text ending in a separator that is the text
// itself.
bool IsFolder(const std::string& path);

// Creates every missing folder from the root of folderPart down to its last separator
// ("C:\a\b\" creates C:\a and C:\a\b as needed; the file name after a last separator is
// ignored). True when the whole chain exists afterwards. False when folderPart has no drive
// or share root, the root does not exist, a path would reach 261 bytes, or a folder cannot be
// created (CreateDirectoryA); the folders this call created before a failed creation are then
// removed again, deepest first, and nothing that existed before is touched.
bool CreateFolderChain(const std::string& folderPart);
