// The find-to-SQL translation over an arbitrary chain of find entries (34 bytes each). The
// chain is padded with end entries far enough that no chain the translator accepts can lead
// past them, so every read it makes is inside the record.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "ledvia/find_sql.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t given = (size - 1) / sizeof(StFINDINFO);
  // Each nesting level may move kMaxFindChain entries forward and read kMaxFindChain more.
  const std::size_t reach = 2 * ledvia::kMaxFindChain * (ledvia::kMaxFindDepth + 1);
  std::vector<StFINDINFO> entries(given + reach);
  std::memset(entries.data(), 0, entries.size() * sizeof(StFINDINFO));
  std::memcpy(entries.data(), data + 1, given * sizeof(StFINDINFO));
  // Every target the business core translates finds for, the summaries' too.
  const ledvia::FindTarget targets[] = {ledvia::FindTarget::kJournal,
                                        ledvia::FindTarget::kJournalGroups,
                                        ledvia::FindTarget::kJournalSides,
                                        ledvia::FindTarget::kAccounts, ledvia::FindTarget::kAssets};
  ledvia::SqlCondition condition;
  int first = data[0] % 4 + 1;
  int code = ledvia::TranslateFind(given > 0 ? entries.data() : nullptr,
                                   targets[data[0] % std::size(targets)], first, &condition);
  if (code == 0) {
    // Every value is bound, never pasted: one numbered placeholder per parameter, in order.
    std::size_t placeholders = std::count(condition.sql.begin(), condition.sql.end(), '?');
    fuzzsupport::Require(placeholders == condition.params.size());
    int depth = 0;
    for (char c : condition.sql) {
      depth += c == '(' ? 1 : c == ')' ? -1 : 0;
      fuzzsupport::Require(depth >= 0);
    }
    fuzzsupport::Require(depth == 0);
  }
  return 0;
}
