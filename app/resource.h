// Identifiers of Pelo's resources and controls.
#pragma once

#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDR_TRAYMENU 130
#define IDD_EDIT_AA 131

#define IDS_SELECT_ITEM 500
#define IDS_NO_DICTIONARY 501
#define IDS_MAIN_TITLE 503
#define IDS_AA_PATH 504
#define IDS_ENTER_AA_TITLE 505
#define IDS_AA_EXISTS 506
#define IDS_DUPLICATE_FAVORITE 507
#define IDS_BAD_AA_TITLE 508

#define IDS_UNNAMED_FILE 61446
#define IDS_FILE_ERROR_BASE 61856

#define IDC_TAB 1000
#define IDC_CATEGORY_TREE 1002
#define IDC_KAOMOJI_LIST 1003
#define IDC_ADD_FAVORITE 1004
#define IDC_FAVORITE_LIST 1005
#define IDC_DELETE_FAVORITE 1006
#define IDC_AA_TITLE_LABEL 1007
#define IDC_AA_TITLE 1008
#define IDC_AA_TEXT 1009
#define IDC_AA_LIST 1011
#define IDC_EDIT_AA 1012
#define IDC_NEW_AA 1013
#define IDC_DELETE_AA 1014
#define IDC_FAVORITE_UP 1015
#define IDC_FAVORITE_DOWN 1016
// Made at run time, not in the dialog template: the search fields of the
// dictionary and favourites pages and what stands in their lists' place
// when nothing matches.
#define IDC_KAOMOJI_SEARCH 1017
#define IDC_KAOMOJI_NO_MATCH 1018
#define IDC_FAVORITE_SEARCH 1019
#define IDC_FAVORITE_NO_MATCH 1020

#define ID_TRAY_EXIT 32772
#define ID_TRAY_FAVORITE_FIRST 32773
