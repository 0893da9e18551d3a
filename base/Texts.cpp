#include "base/Texts.h"

const char CaptionWarning[] = "警告";
const char CaptionConfirm[] = "確認";
const char CaptionSaveConfirm[] = "保存確認";
const char CaptionError[] = "エラー";
const char CaptionErrorUpper[] = "ERROR";
const char CaptionErrorTitle[] = "Error";
const char CaptionFileOpenError[] = "ファイルオープンエラー";
const char CaptionNumberError[] = "ファイル番号設定エラー";
const char CaptionDefinitionError[] = "定義設定エラー";
const char CaptionSystemError[] = "S00011 <SYSTEM ERROR>";
const char CaptionRestore[] = "履歴の復元";

const char ProgramTitle[] = "Gyrolens Ver1.2";

const char TextOverwriteQuestion[] = "同じ名前のファイルがあります。上書きしますか？";
const char TextFileOpenFailed[] = "ファイルのオープンに失敗しました";
const char TextNumberPastMaximum[] = "開始番号が最大番号を超えています";
const char TextHistoryFull[] = "最大件数%dを超えました。履歴ファイルを変更してください。";
const char TextRestoreQuestion[] =
    "保存されていない履歴の変更が残っています。\r\n\r\n記録日時：%s\r\n件数：%d件\r\n履歴ファイル：%s\r\n\r\n"
    "復元しますか？\r\n「いいえ」のときは日付付きの名前で残します。";
const char TextRecoveryUnreadable[] =
    "保存されていない履歴の変更が残っていましたが、\r\n壊れているため読み込めませんでした。\r\n"
    "次の名前で残しています：\r\n%s.*";
const char TextImagesNeedHistoryFile[] =
    "キャプチャファイルの保存先が履歴と同じに設定されています。\n『ファイルを開く』か『名前を付けて保存』で"
    "履歴ファイル名を決めてからキャプチャーを開始してください。";
const char TextImagesNeedHistoryFileStop[] =
    "キャプチャファイルの保存先が履歴と同じに設定されています。\nキャプチャー監視は一旦解除します。"
    "\r\n『ファイルを開く』か『名前を付けて保存』で履歴ファイル名を決めてからもう一度キャプチャー"
    "を開始してください。";
const char TextDiscardQuestion[] = "履歴リストが変更されています。\r\n変更を保存しますか？";
const char TextMonitoringOff[] = "キャプチャ停止中";
const char TextMonitoringOn[] = "キャプチャ監視中";
const char TextChooseFolder[] = "フォルダを選択してください";
const char TextCaptureWaitsForDialog[] = "ダイアログ表示中はキャプチャーできません";
