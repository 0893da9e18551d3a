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

const char ProgramTitle[] = "Gyrolens Ver1.2";

const char TextOverwriteQuestion[] = "同じ名前のファイルがあります。上書きしますか？";
const char TextFileOpenFailed[] = "ファイルのオープンに失敗しました";
const char TextNumberPastMaximum[] = "開始番号が最大番号を超えています";
const char TextHistoryFull[] = "最大件数%dを超えました。履歴ファイルを変更してください。";
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
