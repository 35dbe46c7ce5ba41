#include "xlsAdapter/drawing/duzUXlsBaseClientData.h"

TBaseClientData::~TBaseClientData() { FreeRemainingData(); }

void TBaseClientData::FreeRemainingData()
{
    delete RemainingData;
    RemainingData = nullptr;
}
