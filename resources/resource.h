// Resource and control identifiers.  The numbers are fixed: stored files,
// other programs' expectations and the dialogs' control tables rely on them.
// The same control number appears in several dialogs, so control names
// carry their dialog's name.
#pragma once

// --- main window -------------------------------------------------------------
#define IDR_MAINMENU 109 // menu and accelerator table
#define IDI_GYROLENS 107
#define IDI_GYROLENS_SMALL 108
#define IDB_TOOLBAR 131 // six 16 x 15 images
#define IDB_TOOLBAR_24 175 // the same six at 24 x 24
#define IDB_TOOLBAR_32 176 // new, open, save and the same six at 32 x 32
#define IDR_MANIFEST 1

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_CAPTURE_START 110
#define IDM_CAPTURE_STOP 111
#define IDM_FILE_SAVEAS 32771
#define IDM_TOOLS_SETTINGS 32772
#define IDM_FILE_NEW 32774
#define IDM_FILE_SAVE 32775
#define IDM_FILE_OPEN 32776
#define IDM_EDIT_BATCHCOMMENT 32778
#define IDM_EDIT_DELETE 32779
#define IDM_LIST_OPENIMAGE 32780
#define IDM_CAPTURE_TOGGLE 32781
#define IDM_EDIT_COMMENT 32784
#define IDM_EDIT_SELECTALL 32786
#define IDM_HELP_CONTENTS 32788
#define IDM_TOOLS_HTML 32789
#define IDM_LIST_TEXTINFO 32790
#define IDM_HELP_SEARCH 32793
#define IDM_HELP_KEYWORD 32794
#define IDM_LIST_TEXTEDIT 32795
#define IDM_EDIT_UP 32797
#define IDM_EDIT_DOWN 32798

// The history list's context menu is a named resource, "POPUPMENUCSV".

// Windows of the main layout.
#define IDC_MAIN_TAB 2000
#define IDC_PANE_CONTAINER 2000
#define IDC_LIST_HOST 2001
#define IDC_SPLIT_FRAME 2001
#define IDC_PREVIEW 2001
#define IDC_STATUSBAR 2002
#define IDC_HISTORY_LIST 1015

// --- about box (103) -----------------------------------------------------------
#define IDD_ABOUT 103
#define IDC_ABOUT_ICON 1011
#define IDC_ABOUT_VERSION 1013
#define IDC_ABOUT_LINK 1012

// --- settings sheet pages ------------------------------------------------------
#define IDD_SAVEFILE 102
#define IDC_SAVEFILE_PREFIX 1002
#define IDC_SAVEFILE_START 1003
#define IDC_SAVEFILE_FOLDER 1004
#define IDC_SAVEFILE_MAXIMUM 1005
#define IDC_SAVEFILE_CONFIRM_YES 1006
#define IDC_SAVEFILE_CONFIRM_NO 1007
#define IDC_SAVEFILE_BROWSE 1010
#define IDC_SAVEFILE_ZEROPAD 1014
#define IDC_SAVEFILE_FOLDER_GIVEN 1045
#define IDC_SAVEFILE_FOLDER_HISTORY 1046
#define IDC_SAVEFILE_CUT 1047
#define IDC_SAVEFILE_KEEP 1048

#define IDD_HISTORYPAGE 130
#define IDC_HISTORYPAGE_COMMENT 1005
#define IDC_HISTORYPAGE_AUTOSAVE_NO 1019
#define IDC_HISTORYPAGE_AUTOSAVE_YES 1020
#define IDC_HISTORYPAGE_USE_TITLE 1038
#define IDC_HISTORYPAGE_USE_TEXT 1039
#define IDC_HISTORYPAGE_IMAGEAPP 1107
#define IDC_HISTORYPAGE_TEXTAPP 1108
#define IDC_HISTORYPAGE_IMAGEAPP_CHOOSE 1109
#define IDC_HISTORYPAGE_TEXTAPP_CHOOSE 1110
#define IDC_HISTORYPAGE_KEEPIMAGE 1113

#define IDD_FILEFORMAT 134
#define IDC_FILEFORMAT_JPEG 1008
#define IDC_FILEFORMAT_BMP 1009
#define IDC_FILEFORMAT_PNG 1010
#define IDC_FILEFORMAT_CLIPBOARD 1011
#define IDC_FILEFORMAT_QUALITY 1028

#define IDD_FONTPAGE 138
#define IDC_FONTPAGE_HISTORY_CHOOSE 1012
#define IDC_FONTPAGE_GENERAL_FACE 1030
#define IDC_FONTPAGE_GENERAL_SIZE 1031
#define IDC_FONTPAGE_HISTORY_FACE 1034
#define IDC_FONTPAGE_HISTORY_SIZE 1035
#define IDC_FONTPAGE_GENERAL_CHOOSE 1036

// --- key-assignment panel (147) ------------------------------------------------
#define IDD_KEYPANEL 147
#define IDC_KEYPANEL_TOGGLE0 1014 // rows 0 to 7: 1014 to 1021
#define IDC_KEYPANEL_HOTKEY0 1085 // row 0; rows 1 to 7: 1098 to 1104
#define IDC_KEYPANEL_HOTKEY1 1098
#define IDC_KEYPANEL_PICTURES4 1088
#define IDC_KEYPANEL_PICTURES5 1089
#define IDC_KEYPANEL_PICTURE4_0 1090 // 1090 to 1093
#define IDC_KEYPANEL_PICTURE5_0 1094 // 1094 to 1097
#define IDB_CURSOR_PICTURES 146      // four 30 x 30 cells on white
#define IDB_CURSOR_PICTURES_35 170   // the same four in 35 x 35 cells, for 175 % screens
#define IDB_CURSOR_PICTURES_40 171   // 40 x 40, 200 %
#define IDB_CURSOR_PICTURES_45 174   // 45 x 45, 225 %, and the key panel at 150 %
#define IDB_CURSOR_PICTURES_50 172   // 50 x 50, 250 %
#define IDB_CURSOR_PICTURES_60 173   // 60 x 60, 300 %
#define IDB_PICTURE_ELLIPSE 150      // 16 x 16, one each
#define IDB_PICTURE_CIRCLE 151
#define IDB_PICTURE_BLACK_ARROW 152
#define IDB_PICTURE_RED_ARROW 153
#define IDB_PICTURES_24 177          // the four side by side at 24 x 24
#define IDB_PICTURES_32 178          // and at 32 x 32

// --- record dialogs ------------------------------------------------------------
#define IDD_COMMENT 132
#define IDC_COMMENT_EDIT 1016
#define IDC_COMMENT_CANCEL 1017
#define IDC_COMMENT_OK 1018

#define IDD_TEXTFILE 152
#define IDC_TEXTFILE_NONE 3
#define IDC_TEXTFILE_ADD 4
#define IDC_TEXTFILE_FOLDER 1004
#define IDC_TEXTFILE_LIST 1015
#define IDC_TEXTFILE_NEWNAME 1111

// --- HTML export dialog (141) --------------------------------------------------
#define IDD_HTMLEXPORT 141
#define IDC_HTML_EXPORT 3
#define IDC_HTML_NOCOPY 1014
#define IDC_HTML_FOLDER 1048
#define IDC_HTML_BROWSE 1049
#define IDC_HTML_LAYOUT 1051
#define IDC_HTML_RULE 1052
#define IDC_HTML_PREVIEW1 1053
#define IDC_HTML_PREVIEW2 1054
#define IDC_HTML_PREVIEW3 1055
#define IDC_HTML_PREVIEW4 1056
#define IDC_HTML_PREVIEW5 1065
#define IDC_HTML_PREVIEW6 1096
#define IDC_HTML_PERPAGE_SPIN 1057
#define IDC_HTML_IMAGE_NONE 1058
#define IDC_HTML_PERPAGE 1059
#define IDC_HTML_IMAGE_GIVEN 1060
#define IDC_HTML_IMAGE_WIDTH 1061
#define IDC_HTML_TEXT_NONE 1062
#define IDC_HTML_TEXT_GIVEN 1063
#define IDC_HTML_TEXT_WIDTH 1064
#define IDC_HTML_PERROW 1066
#define IDC_HTML_PERROW_SPIN 1067
#define IDC_HTML_TEXT_FIT 1068
#define IDC_HTML_BACK_SWATCH 1098
#define IDC_HTML_BACK_CHOOSE 1099
#define IDC_HTML_FRAME_SWATCH 1100
#define IDC_HTML_FRAME_CHOOSE 1101
#define IDB_LAYOUT1 142
#define IDB_LAYOUT2 143
#define IDB_LAYOUT3 145
#define IDB_LAYOUT4 144
#define IDB_LAYOUT5 149
#define IDB_LAYOUT6 154
