#include "records/record_set.h"

namespace records {

void declareSet(core::RecordSet& set, const Record& record) {
    for (const auto& f : record.fields()) {
        core::Field& field = f.source == FieldSource::Calculated ? set.addCalculated(f.name, f.type, f.size)
                                                                 : set.addField(f.name, f.type, f.size, f.label);
        field.label = f.label;
        field.visible = f.visible;
        field.def.inKey = f.key;
    }
}

}  // namespace records
