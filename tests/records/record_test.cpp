#include <gtest/gtest.h>

#include "core/error.h"
#include "core/recordset.h"
#include "records/record_set.h"
#include "records/request_record.h"

namespace {

using records::FieldSource;
using records::RecordField;

TEST(Record, LookedUpFieldsNeedTheirExpressionAndAKnownJoin) {
    const RecordField name{"NMPRODUTO",           core::FieldType::String, 50, "Produto", true, false,
                           FieldSource::LookedUp, "P.NMPRODUTO",           "P"};
    const records::RecordJoin product{"P", "LEFT JOIN PRODUTO P ON P.CDPRODUTO = A.CDPRODUTO"};
    EXPECT_NO_THROW(records::Record("cds", "T", "A", {name}, {product}));
    EXPECT_THROW(records::Record("cds", "T", "A", {name}, {}), core::Error);
    RecordField bare = name;
    bare.expression.clear();
    EXPECT_THROW(records::Record("cds", "T", "A", {bare}, {product}), core::Error);

    const records::Record r(
        "cds", "T", "A",
        {{"CDPRODUTO", core::FieldType::String, 10, "", false, true, FieldSource::Stored, {}, {}},
         name,
         {"dbtNome", core::FieldType::String, 20, "", true, false, FieldSource::Calculated, {}, {}}},
        {product});
    EXPECT_EQ(r.readExpression("cdproduto"), "A.CDPRODUTO");
    EXPECT_EQ(r.readExpression("NMPRODUTO"), "P.NMPRODUTO");
    EXPECT_THROW(r.readExpression("dbtNome"), core::Error);
    EXPECT_THROW(r.field("NMOUTRO"), core::Error);
    const auto defs = r.packetFields();
    ASSERT_EQ(defs.size(), 2u);
    EXPECT_TRUE(defs[0].inKey);
    EXPECT_EQ(defs[1].name, "NMPRODUTO");
}

// The screen's set and the server's answer come from one declaration: the set's
// stored fields are exactly the packet's, so an answer fills every field by position.
TEST(Record, RequestSetDeclaredFromTheRecordMatchesWhatTheServerAnswers) {
    const auto& record = records::requestRecord();
    core::RecordSet set("cdsAuditoria");
    records::declareSet(set, record);

    EXPECT_EQ(set.fieldDefs(), record.packetFields());
    ASSERT_EQ(set.fieldCount(), record.fields().size());
    const auto& caption = set.field("dbtNome");
    EXPECT_TRUE(caption.calculated);
    EXPECT_TRUE(caption.visible);
    EXPECT_EQ(set.fieldAt(47).name(), "DSJUSTIFICATIVA");
    EXPECT_EQ(set.fieldAt(48).name(), "dbtNome");
    EXPECT_EQ(set.fieldAt(49).name(), "DTVALANA");
    EXPECT_EQ(set.field("NMPRODUTO").label, "Produto");
    EXPECT_TRUE(set.field("NMPRODUTO").visible);
    EXPECT_FALSE(set.field("CDPRODUTO").visible);
    EXPECT_TRUE(set.field("CDFILIAL").def.inKey);
    EXPECT_TRUE(set.field("NRAUDITORIA").def.inKey);
    EXPECT_FALSE(set.field("CDPRODUTO").def.inKey);
}

}  // namespace
