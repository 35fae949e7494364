// The remembered output settings: per user of the accounting product and per selected company
// data, the aggregation method, month range and output path of the last successful export.
//
// One text file per edition ("Moravel.env", "Tessaly.env", "Brenwick.env") in folder type 1
// of ClFileMgr, code page 932, one record a line, each line ended by a single LF:
//   <user id>/<first selection no>/<second selection no>:<method>/<start>/<end>/<output path>
// The output path is the last field, so it may hold '/' and ':' itself. Lines keep their
// order; a record that is written again moves to the end.
//
// Who calls what: the run makes one object for the user and selection of ConditionsSetup and
// hands it to the conditions dialog, which calls Read once at start to preset its fields.
// After a successful export the run calls Write on the same object; when the program was
// started by the accounting product with a handshake it passes no output path, and the path
// Read found is written again. Nothing is shown to the user; nobody needs Write's result.
//
// Rewriting is safe: a new file is written beside the old one and renamed over it, and a lock
// file beside it ("<name>.lock") makes concurrent program instances take turns, so a crash, a
// full disk or a second instance never loses another record. Keys, lines and files have no
// size limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct RememberedRecord {
  std::int32_t method = 0;  // AggregationMethod
  std::int16_t startMonth = 0;
  std::int16_t endMonth = 0;
  // At most 260 bytes; empty when the record has none, or one too long for a path buffer.
  std::string outputPath;
};

class RememberedSettings {
 public:
  // The record of userId (code page 932) and the two selection numbers in the settings file
  // fileName (the edition's: CurrentEdition().settingsFileName) of folder, a Windows path
  // ending in a separator; without one, folder type 1 of ClFileMgr, asked at each Read and
  // Write.
  RememberedSettings(std::string userId, std::int32_t firstNo, std::int32_t secondNo,
                     std::string fileName, std::optional<std::string> folder = std::nullopt);

  // The record, or nullopt when there is no file, no record or the file cannot be read whole.
  // A line is this key's record only when the key is followed by three decimal fields, each
  // ended by '/', and the path: a user id that begins like this key (ids may hold '/' and ':')
  // is another user's. Reads without the lock when the lock file cannot be made or another
  // instance holds it for more than a moment. Keeps the record's output path for a later
  // Write without one.
  std::optional<RememberedRecord> Read();

  // Stores the record (method, months, outputPath; nullptr: the output path Read found, empty
  // when it found none) at the end of the file, removing the record's earlier lines (those
  // Read would take for it; every other user's line stays). Creates
  // the settings folder and the folders above it when missing. False, with the file as it
  // was, when the folder is unknown or cannot be created, the existing file cannot be read
  // whole, the file cannot be replaced, another instance holds the file for too long, or the
  // user id or the path holds a line feed (it would break the record into two lines).
  bool Write(std::int16_t startMonth, std::int16_t endMonth, const char* outputPath,
             std::int32_t method);

 private:
  std::string Key() const;
  std::string Folder() const;

  std::string userId_;
  std::int32_t firstNo_;
  std::int32_t secondNo_;
  std::optional<std::string> folder_;  // nullopt: ClFileMgr's folder type 1
  std::string fileName_;
  std::string rememberedPath_;  // the output path of the record Read found, whole
};
