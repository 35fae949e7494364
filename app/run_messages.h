// The messages of the export run (caption "消費税"), the questions after a failed section of
// the file among them.
#pragma once

// Sixth-business-type entries in a simplified-taxation range that starts before 2015-04-01;
// "%s" is the edition's program name. Exclamation, OK; the run stops with result 1.
inline constexpr char kSixthTypeMessage[] =
    "集計範囲に事業分類「第六種事業」の仕訳が存在します。\n"
    "「第六種事業」は、平成27年4月1日以降に開始する課税期間に適用される事業分類のため、"
    "処理できません。\n\n"
    "%s の以下の機能にて事業分類を見直してください。\n\n"
    "・各種帳簿機能(簡易振替伝票入力等)\n"
    "※入力済みの伝票は、各帳簿画面の置換機能にて一括で変換することができます。";

// Import payments not yet split into body, national and local tax. Information, OK; the run
// goes on.
inline constexpr char kImportCategoryMessage[] =
    "集計範囲の中に、輸入取引の本体分、国税分、地方税分が未確定の税区分(31,32,33,35,36,37)"
    "を使用している仕訳があります。\n"
    "この仕訳の金額は、消費税申告書には集計されません。";

// A section of the file could not be written: Yes goes on with the next section, No ends the
// file there (result 2). Exclamation, Yes and No.
inline constexpr char kSystemFailedQuestion[] =
    "システム情報の出力に失敗しました。\n\n出力を続けますか？";
inline constexpr char kBasicFailedQuestion[] =
    "基本情報の出力に失敗しました。\n\n出力を続けますか？";
inline constexpr char kDataFailedQuestion[] =
    "連動情報の出力に失敗しました。\n\n出力を続けますか？";

// Every section was written but the file's closing tag was lost, or the file could not be put
// on the disk. Exclamation, OK; result 2.
inline constexpr char kClosingFailedMessage[] =
    "連動ファイルの出力に失敗しました。\n\n出力したファイルは完全ではありません。";

// The run reached its end. Information, OK.
inline constexpr char kCompletionMessage[] =
    "消費税情報の出力が終了しました。\n\nアプリケーションを終了します。";

// No data record has the number of the user's selection. Exclamation, OK; result 2.
inline constexpr char kNoSelectedDataMessage[] =
    "選択されているデータが見つかりません。\n\nアプリケーションを終了します。";

// An amount reached 10^14 yen (or a product left 64 bits) while the figures were summed or
// written. Exclamation, OK; result 2, the file stays as far as it was written.
inline constexpr char kAmountOverflowMessage[] =
    "金額が処理できる範囲を超えたため、消費税情報の出力を中止しました。\n\n"
    "アプリケーションを終了します。";

// The data's consumption-tax settings could not be read (no settings set object, or its read
// failed): every figure and refusal depends on them. Exclamation, OK; result 2, no file.
inline constexpr char kTaxSettingsUnreadableMessage[] =
    "消費税の設定を読み込めないため、消費税情報の出力を中止しました。\n\n"
    "アプリケーションを終了します。";

// An aggregation stage or check failed without a code of the accounting product's own to
// show (an object it could not hand out). Exclamation, OK; result 2, no file written.
inline constexpr char kAggregationFailedMessage[] =
    "消費税情報を集計できなかったため、出力を中止しました。\n"
    "ファイルは出力していません。\n\n"
    "アプリケーションを終了します。";

// Memory ran out. Exclamation, OK; result 2.
inline constexpr char kOutOfMemoryMessage[] = "ﾒﾓﾘが不足しています。";

// Any other failure that would have ended the program without a word. Exclamation, OK; result 2.
inline constexpr char kUnexpectedFailureMessage[] =
    "消費税情報の出力中にエラーが発生しました。\n\nアプリケーションを終了します。";
