#pragma once

// The iCalendar library as the reader and the writer use it; not for other code.

#include <libical/ical.h>
#include <memory>

namespace dw::ical {

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

struct IteratorFree {
    void operator()(icalrecur_iterator* i) const { icalrecur_iterator_free(i); }
};
using RecurrenceIteratorPtr = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// The library reports damaged input through its error state; it must never end the
// program for it.
void useLibraryQuietly();

} // namespace dw::ical
