#include "engine/core/DataObject.h"

#include "engine/core/Archive.h"

#include "platform/classlib/Exception.h"

namespace Data {

void TDataObject::Assign(const TDataObject*) {
    throw ClassLib::Exception("Object doesn't support assignment.");
}

void TDataObject::LoadFromStream(TStream* stream) {
    Clear();
    ID = stream->ReadValue<uint32_t>();
}

void TDataObject::SaveToStream(TStream* stream) const {
    stream->WriteValue(ID);
}

void TDataObject::CopyFrom(const TDataObject* source) {
    if (source == this)
        return;
    Clear();
    Assign(source);
}

void TDataObject::LoadFromArchive(const TArchive& archive, const AnsiString& fileName) {
    const auto stream = archive.OpenFile(fileName);
    LoadFromStream(stream.get());
}

} // namespace Data
