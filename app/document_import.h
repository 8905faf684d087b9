#pragma once

#include "shell/export_contract.h"

#include <QString>

// "orvendale --import business-plan.docx plan.orvendale": makes a plan file
// from a business plan document with the import's defaults, with no window
// and no display, and prints where each heading went and what was left
// out. Never replaces a file. Returns how it ended, in the export's codes.
ExportExit importDocument(const QString& document, const QString& planFile);
