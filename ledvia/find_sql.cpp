#include "ledvia/find_sql.h"

#include "ledvia/status_codes.h"

namespace ledvia {
namespace {

class Translator {
 public:
  Translator(FindTarget target, int firstParam) : target_(target), nextParam_(firstParam) {}

  // OR of AND-groups: the chain is split at OR links, each group joined by AND.
  int Chain(const StFINDINFO* entry, int depth, std::string* sql) {
    if (depth > kMaxFindDepth) return kBadFind;
    std::string orTerms;
    std::string andTerms;
    for (int count = 0;; ++count, ++entry) {
      if (count >= kMaxFindChain) return kBadFind;
      std::string term;
      int code = Term(entry, depth, &term);
      if (code != kOk) return code;
      andTerms += andTerms.empty() ? term : " AND " + term;
      if (entry->link == kFindLinkAnd) continue;
      orTerms += (orTerms.empty() ? "(" : " OR (") + andTerms + ")";
      andTerms.clear();
      if (entry->link == kFindLinkNone) break;
      if (entry->link != kFindLinkOr) return kBadFind;
    }
    *sql = "(" + orTerms + ")";
    return kOk;
  }

  std::vector<std::int64_t> TakeParams() { return std::move(params_); }

 private:
  int Term(const StFINDINFO* entry, int depth, std::string* sql) {
    if (++terms_ > kMaxFindTerms) return kBadFind;
    if (entry->item == kFindItemNested) {
      if (entry->nested == 0 || entry->nested > static_cast<std::uint32_t>(kMaxFindChain)) {
        return kBadFind;
      }
      return Chain(entry + entry->nested, depth + 1, sql);
    }
    const char* op = Operator(entry->op);
    std::int64_t value = 0;
    if (op == nullptr || !Value(*entry, &value)) return kBadFind;
    switch (target_) {
      case FindTarget::kJournal:
      case FindTarget::kJournalGroups:
        if (entry->item == kFindItemMonth) return Compare("month_index", op, value, sql);
        if (entry->item == kFindItemTaxCategory) {
          return BySide(entry->side, "debit_category", "credit_category", op, value, sql);
        }
        if (entry->item == kFindItemClassCode && target_ == FindTarget::kJournal) {
          return BySide(entry->side,
                        "(SELECT class_code FROM accounts a WHERE a.data_no = journal.data_no "
                        "AND a.code = journal.debit_account)",
                        "(SELECT class_code FROM accounts a WHERE a.data_no = journal.data_no "
                        "AND a.code = journal.credit_account)",
                        op, value, sql);
        }
        return kBadFind;
      case FindTarget::kJournalSides:
        if (entry->item == kFindItemMonth) return Compare("month_index", op, value, sql);
        if (entry->item == kFindItemTaxCategory) return OwnSide(entry->side, op, value, sql);
        return kBadFind;
      case FindTarget::kAccounts:
        if (entry->item == kFindItemClassCode) return Compare("class_code", op, value, sql);
        return kBadFind;
      case FindTarget::kAssets:
        if (entry->item == kFindItemAssetDate) return Compare("date", op, value, sql);
        return kBadFind;
    }
    return kBadFind;
  }

  int BySide(std::int16_t side, const std::string& debit, const std::string& credit, const char* op,
             std::int64_t value, std::string* sql) {
    if (side == kFindSideDebit) return Compare(debit, op, value, sql);
    if (side == kFindSideCredit) return Compare(credit, op, value, sql);
    if (side != kFindSideEither) return kBadFind;
    std::string left;
    std::string right;
    Compare(debit, op, value, &left);
    Compare(credit, op, value, &right);
    *sql = "(" + left + " OR " + right + ")";
    return kOk;
  }

  // A side's own category; a side named in the find asks for that kind of side as well.
  int OwnSide(std::int16_t side, const char* op, std::int64_t value, std::string* sql) {
    if (side == kFindSideEither) return Compare("category", op, value, sql);
    if (side != kFindSideDebit && side != kFindSideCredit) return kBadFind;
    std::string test;
    Compare("category", op, value, &test);
    *sql = "(side = " + std::to_string(side) + " AND " + test + ")";
    return kOk;
  }

  int Compare(const std::string& column, const char* op, std::int64_t value, std::string* sql) {
    params_.push_back(value);
    *sql = column + " " + op + " ?" + std::to_string(nextParam_++);
    return kOk;
  }

  static const char* Operator(std::int16_t op) {
    switch (op) {
      case kFindOpEqual:
        return "=";
      case kFindOpGreaterEqual:
        return ">=";
      case kFindOpLess:
        return "<";
      case kFindOpLessEqual:
        return "<=";
      default:
        return nullptr;
    }
  }

  // Month indices are 16 bits on the original platform: only the low half of the field counts.
  static bool Value(const StFINDINFO& entry, std::int64_t* value) {
    switch (entry.valueType) {
      case kFindValueMonth:
        *value = static_cast<std::int16_t>(entry.value & 0xffff);
        return true;
      case kFindValueInteger:
        *value = entry.value;
        return true;
      case kFindValueClassCode:
        *value = static_cast<std::uint32_t>(entry.value);
        return true;
      default:
        return false;
    }
  }

  FindTarget target_;
  int terms_ = 0;
  int nextParam_;
  std::vector<std::int64_t> params_;
};

}  // namespace

int TranslateFind(const StFINDINFO* find, FindTarget target, int firstParam, SqlCondition* out) {
  *out = SqlCondition();
  if (find == nullptr) return kOk;
  Translator translator(target, firstParam);
  std::string sql;
  int code = translator.Chain(find, 0, &sql);
  if (code != kOk) return code;
  out->sql = sql;
  out->params = translator.TakeParams();
  return kOk;
}

}  // namespace ledvia
