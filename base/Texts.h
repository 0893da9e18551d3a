// Message-box captions, and the texts the program shows in more than one
// place.  Shift_JIS once compiled; tests compare against the same names.
#pragma once

// Captions.
extern const char CaptionWarning[];        // "警告"
extern const char CaptionConfirm[];        // "確認"
extern const char CaptionSaveConfirm[];    // "保存確認"
extern const char CaptionError[];          // "エラー"
extern const char CaptionErrorUpper[];     // "ERROR"
extern const char CaptionErrorTitle[];     // "Error"
extern const char CaptionFileOpenError[];  // "ファイルオープンエラー"
extern const char CaptionNumberError[];    // "ファイル番号設定エラー"
extern const char CaptionDefinitionError[]; // "定義設定エラー"
extern const char CaptionSystemError[];    // "S00011 <SYSTEM ERROR>"
extern const char CaptionRestore[];        // "履歴の復元"

// The program's name as its windows show it.
extern const char ProgramTitle[]; // "Gyrolens Ver1.2"

// Texts.
extern const char TextOverwriteQuestion[];   // an image or page file exists
extern const char TextFileOpenFailed[];      // "ファイルのオープンに失敗しました"
extern const char TextNumberPastMaximum[];   // start number above the maximum
extern const char TextHistoryFull[];         // %d: the record limit
// The recovery copy of unsaved changes found at start-up: the question
// (%s the time it was written, %d its records, %s its history file), and
// the note on one that cannot be read (%s where it was kept).
extern const char TextRestoreQuestion[];
extern const char TextRecoveryUnreadable[];
// Images are to go into the history folder but the history has no file
// yet: refusing a start or a capture, and stopping monitoring for a new list.
extern const char TextImagesNeedHistoryFile[];
extern const char TextImagesNeedHistoryFileStop[];
extern const char TextDiscardQuestion[];     // unsaved history changes
extern const char TextMonitoringOff[];       // "キャプチャ停止中"
extern const char TextMonitoringOn[];        // "キャプチャ監視中"
extern const char TextChooseFolder[];        // title of the folder browser
// Status bar, for a few seconds: a capture key was pressed while a message
// box or dialog of the program was open, and nothing was captured.
extern const char TextCaptureWaitsForDialog[];
