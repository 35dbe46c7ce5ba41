#include "xlsAdapter/duzUXlsBaseClientData.h"

TBaseClientData::~TBaseClientData() { FreeRemainingData(); }

void TBaseClientData::FreeRemainingData()
{
    delete RemainingData;
    RemainingData = nullptr;
}
