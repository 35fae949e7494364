#include "ledvia/data_list.h"

#include <sqlite3.h>

#include "ledvia/company_file.h"
#include "ledvia/statement.h"
#include "ledvia/status_codes.h"

namespace ledvia {

int ReadDataList(const std::string& path, std::vector<DataListRow>* rows, std::string* error) {
  rows->clear();
  CompanyFile file;
  std::string reason;
  int code = OpenCompanyFile(path, &file, &reason);
  if (code != kOk) {
    *error = path + ": " + reason;
    return code;
  }
  sqlite3* db = file.db;
  {
    Statement list(db,
                   "SELECT d.data_no, d.data_id, d.company_name, d.period_start, d.period_end, "
                   "t.taxation_kind, d.entity_kind, d.data_kind, d.interim_closing, "
                   "(SELECT group_concat(user_id, ',') FROM (SELECT user_id FROM users "
                   "WHERE select_second = d.data_no ORDER BY user_id)) FROM data d "
                   "LEFT JOIN tax_settings t ON t.data_no = d.data_no ORDER BY d.data_no");
    for (;;) {
      int status = list.StepStatus();
      if (status == kEndOfData) break;
      if (status != kOk) {
        *error = "cannot read " + path + ": " + sqlite3_errmsg(db);
        code = status;
        break;
      }
      DataListRow row;
      row.dataNo = static_cast<int>(list.Int(0));
      row.dataId = list.Bytes(1);
      row.companyName = list.Bytes(2);
      row.periodStart = static_cast<int>(list.Int(3));
      row.periodEnd = static_cast<int>(list.Int(4));
      row.taxationKind = static_cast<int>(list.Int(5));
      row.entityKind = static_cast<int>(list.Int(6));
      row.dataKind = static_cast<int>(list.Int(7));
      row.interimClosing = static_cast<int>(list.Int(8));
      row.users = list.Bytes(9);
      rows->push_back(row);
    }
  }
  sqlite3_close(db);
  return code;
}

}  // namespace ledvia
