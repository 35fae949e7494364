#include "ledvia/csv_read_ahead.h"

#include <utility>

namespace ledvia {

CsvReadAhead::CsvReadAhead(std::istream& in) : reader_(in), thread_([this] { Read(); }) {}

CsvReadAhead::~CsvReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void CsvReadAhead::Read() {
  try {
    for (;;) {
      Batch batch;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || ready_.size() < kBatchesAhead; });
        if (stopping_) return;
        if (!spare_.empty()) {
          batch = std::move(spare_.back());
          spare_.pop_back();
        }
      }
      batch.records.resize(kBatchRecords);
      batch.count = 0;
      bool more = true;
      // A batch ends at its count of records or of bytes, so that long fields held ahead
      // cost a few MiB at most, as short ones do.
      std::size_t bytes = 0;
      while (batch.count < kBatchRecords && bytes < kBatchBytes &&
             (more = reader_.Next(&batch.records[batch.count]))) {
        for (const CsvField& field : batch.records[batch.count].fields) bytes += field.text.size();
        ++batch.count;
      }
      {
        std::lock_guard lock(mutex_);
        if (batch.count > 0) ready_.push_back(std::move(batch));
        finished_ = !more;
      }
      changed_.notify_all();
      if (!more) return;
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex_);
      failure_ = std::current_exception();
      finished_ = true;
    }
    changed_.notify_all();
  }
}

bool CsvReadAhead::Next(CsvRecord* record) {
  if (next_ == current_.count) {
    std::unique_lock lock(mutex_);
    if (current_.count > 0) spare_.push_back(std::move(current_));
    current_ = Batch();
    next_ = 0;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !ready_.empty() || finished_; });
    if (ready_.empty()) {
      if (failure_) std::rethrow_exception(failure_);
      return false;
    }
    current_ = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
  }
  std::swap(*record, current_.records[next_++]);
  return true;
}

}  // namespace ledvia
