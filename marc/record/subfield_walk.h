#pragma once
// The walk over a field's live subfields in list order that the readers of
// the linked list share. A list that is broken (a link outside the table, or
// more steps than the field has slots) ends the walk where it breaks.
#include <cstddef>
#include <cstdint>

#include "marc/record/marc_record.h"

enum class SubfieldWalk { Done, Stopped, Broken };

// visit(subfield) is called for each live subfield and returns false to stop.
template <class Visit>
SubfieldWalk WalkLiveSubfields(const FieldEntry& field, Visit visit) {
    int32_t iSteps = 0;
    for (int16_t i = field.FirstSubfield; i >= 0; i = field.Subfields[static_cast<size_t>(i)].NextSubfield) {
        if (i > field.SubfieldTop || static_cast<size_t>(i) >= field.Subfields.size() ||
            ++iSteps > field.SubfieldTop + 1)
            return SubfieldWalk::Broken;
        const SubfieldEntry& sfd = field.Subfields[static_cast<size_t>(i)];
        if (!sfd.Deleted && !visit(sfd)) return SubfieldWalk::Stopped;
    }
    return SubfieldWalk::Done;
}
