// Menu command identifiers, shared by the menu resource and the window procedure.
#pragma once

#define IDM_FILE_NEW 40000
#define IDM_FILE_OPEN 40001
#define IDM_FILE_SAVE 40002
#define IDM_FILE_PRINT 40003
#define IDM_FILE_EXIT 40004
#define IDM_EDIT_CUT 41000
#define IDM_EDIT_COPY 41001
#define IDM_EDIT_PASTE 41002
#define IDM_EDIT_DELETE 41003
#define IDM_EDIT_SELECT_ALL 41004
#define IDM_EDIT_FIND 41007
#define IDM_EDIT_FIND_NEXT 41008
#define IDM_EDIT_REPLACE 41009
#define IDM_WRAP_NO 42000
#define IDM_WRAP_YES 42001
#define IDM_FACE_FIRST 43000
#define IDM_FACE_LAST 43011
#define IDM_SIZE_BASE 44000
#define IDM_SIZE_FIRST 44008
#define IDM_SIZE_LAST 44072
#define IDM_ABOUT 45000
