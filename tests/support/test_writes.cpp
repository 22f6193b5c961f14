#include "support/test_writes.h"

#include <soci/soci.h>

#include "platform/host.h"

namespace testsupport {

long long writeToDatabase(const std::string& sql) {
    const auto& s = platform::session();
    // A fresh connection each time: nothing is left open on a database a test removes.
    soci::session db(s.dbBackend, s.dbConnect);
    soci::statement st(db);
    st.alloc();
    st.prepare(sql);
    st.define_and_bind();
    st.execute(true);
    return st.get_affected_rows();
}

}  // namespace testsupport
