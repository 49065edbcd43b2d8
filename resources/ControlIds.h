// Resource and control ids shared by the resource scripts and the code; each number
// appears here once. Plain #defines only: windres reads this file too.
#pragma once

// The CAPE-OPEN Component Manager dialog.
#define IDD_COMPONENT_MANAGER 101
#define IDI_COMPONENT_MANAGER 217
#define IDC_COMPONENT_TREE 1018
#define IDC_COMPONENT_TABS 248
#define IDC_CATEGORY_COMBO 210
#define IDC_DESCRIPTION 216
#define IDC_ABOUT 218
#define IDC_CAPE_VERSION 219
#define IDC_COMPONENT_VERSION 221
#define IDC_VENDOR_URL 223
#define IDC_CLSID 225
#define IDC_COMPONENT_HELP 226
#define IDC_REFRESH 8
#define IDC_REMOTE 229
#define IDC_COGENTS 255
#define IDC_SHOW_PROGIDS 214
#define IDC_SPARE_EDIT_1 206
#define IDC_SPARE_EDIT_2 208
#define IDC_COMPONENT_LIST 211
