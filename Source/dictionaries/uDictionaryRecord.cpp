#include "uDictionaryRecord.h"

bool TDictionaryRecord::IsEmpty() const {
    return *this == TDictionaryRecord();
}
