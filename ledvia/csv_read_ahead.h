// A CsvReader on a thread of its own, a few batches of records ahead of the one who uses
// them: reading and decoding the text then shares the machine with checking the values and
// writing them, which a long journal file otherwise does one after the other. The records come
// out exactly as the CsvReader gives them, in order; memory stays a few batches, each ending
// once it holds 256 records or a MiB of text.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <istream>
#include <mutex>
#include <thread>
#include <vector>

#include "ledvia/csv_file.h"

namespace ledvia {

class CsvReadAhead {
 public:
  // Reads from `in`, which must outlive this object; the thread starts at once.
  explicit CsvReadAhead(std::istream& in);
  // Stops the thread, wherever it is.
  ~CsvReadAhead();
  CsvReadAhead(const CsvReadAhead&) = delete;
  CsvReadAhead& operator=(const CsvReadAhead&) = delete;

  // As CsvReader::Next. A failure of the thread (out of memory) is thrown here.
  bool Next(CsvRecord* record);

 private:
  struct Batch {
    std::vector<CsvRecord> records;  // their strings' memory is used again by later batches
    std::size_t count = 0;
  };
  static constexpr std::size_t kBatchRecords = 256;
  static constexpr std::size_t kBatchBytes = 1 << 20;
  static constexpr std::size_t kBatchesAhead = 4;

  void Read();

  CsvReader reader_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Batch> ready_;   // read, oldest first
  std::vector<Batch> spare_;  // handed out and given back
  bool finished_ = false;     // the thread read the last record
  bool stopping_ = false;
  std::exception_ptr failure_;
  Batch current_;  // the batch being handed out
  std::size_t next_ = 0;
  std::thread thread_;  // last: it starts once everything above is set up
};

}  // namespace ledvia
