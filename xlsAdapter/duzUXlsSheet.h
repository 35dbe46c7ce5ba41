#pragma once
// Sheet sections.
#include "xlsAdapter/duzUXlsBaseRecordLists.h"

// The records of a sheet kept as read (a sheet of a kind the engine does not load).
class TSheetRecordList : public TBaseRecordList
{
};
