#pragma once
#include <string>

#include "QnShowCOCATIDs11.h"

// The host's property package step, after the automation object has created a
// CAPE-OPEN 1.1 property package (compCOversion 110): the host sets its options,
// hands over its compound mapping (setPPInfo), appends to the import report
// (traceReport) and shows the package's information (ShowThermoGUI). Each of the
// dialog's five tabs is saved as <folder>\package-<n>-<tab>.bmp, the dialog is closed
// with OK and the options read back are printed. Returns 0 when every call succeeded
// and the five screenshots were saved.
int runPackageDemo(ICCAPEGUI* gui, const std::string& folder);
