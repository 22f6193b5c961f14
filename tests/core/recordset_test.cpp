#include "core/recordset.h"

#include <gtest/gtest.h>

#include "core/error.h"

using namespace core;

namespace {

// A small request list: key, name, quantity, date.
struct Requests {
    RecordSet set{"cdsAuditoria"};
    Requests() {
        FieldDef key{"NRAUDITORIA", FieldType::String, 10, true, true};
        set.addField(key, "Número");
        set.addField("NMPRODUTO", FieldType::String, 7, "Produto");
        set.addField("QTPESO", FieldType::Float);
        set.addField("DTCAD", FieldType::DateTime);
        Packet p;
        p.fields = set.fieldDefs();
        p.rows = {{Value("1"), Value("Leite"), Value(1.5), Value(DateTime::make(2024, 1, 2))},
                  {Value("2"), Value("Açúcar"), Value(2.0), Value()},
                  {Value("3"), Value("Sal"), Value(), Value()}};
        set.setData(p);
    }
    std::string names() {
        std::string out;
        for (int i = 0; i < set.recordCount(); ++i) out += set.valueAt(i, "NMPRODUTO").asString() + ";";
        return out;
    }
};

}  // namespace

TEST(RecordSet, StatesAndEventOrder) {
    Requests r;
    RecordSet& s = r.set;
    std::vector<std::string> log;
    auto note = [&](const char* what) { return [&log, what](RecordSet&) { log.push_back(what); }; };
    s.beforeInsert.connect(note("beforeInsert"));
    s.onNewRecord.connect(note("newRecord"));
    s.afterInsert.connect(note("afterInsert"));
    s.beforeScroll.connect(note("beforeScroll"));
    s.afterScroll.connect(note("afterScroll"));
    s.beforePost.connect(note("beforePost"));
    s.afterPost.connect(note("afterPost"));
    s.beforeEdit.connect(note("beforeEdit"));
    s.afterEdit.connect(note("afterEdit"));
    s.beforeCancel.connect(note("beforeCancel"));
    s.afterCancel.connect(note("afterCancel"));
    s.beforeDelete.connect(note("beforeDelete"));
    s.afterDelete.connect(note("afterDelete"));

    EXPECT_EQ(s.state(), DataSetState::Browse);
    EXPECT_EQ(s.recNo(), 1);
    s.append();
    EXPECT_EQ(s.state(), DataSetState::Insert);
    EXPECT_EQ(s.recNo(), 4);
    s["NRAUDITORIA"].setValue("4");
    EXPECT_TRUE(s.modified());
    s.post();
    EXPECT_EQ(s.state(), DataSetState::Browse);
    EXPECT_EQ((std::vector<std::string>{"beforeInsert", "beforeScroll", "newRecord", "afterInsert",
                                        "afterScroll", "beforePost", "afterPost"}),
              log);

    log.clear();
    s.edit();
    s["QTPESO"].setText("3,5");
    s.cancel();
    EXPECT_TRUE(s["QTPESO"].isNull());
    s.remove();
    EXPECT_EQ((std::vector<std::string>{"beforeEdit", "afterEdit", "beforeCancel", "afterCancel",
                                        "beforeDelete", "beforeScroll", "afterDelete", "afterScroll"}),
              log);
    EXPECT_EQ(s.recordCount(), 3);

    // navigation posts a pending edit first
    s.first();
    s.edit();
    s["NMPRODUTO"].setValue("Mel");
    s.next();
    EXPECT_EQ(s.state(), DataSetState::Browse);
    EXPECT_EQ(s.valueAt(0, "NMPRODUTO"), Value("Mel"));
    EXPECT_EQ(s.changeCount(), 1);

    // edit on an empty set inserts; setValue outside edit is refused
    s.emptyDataSet();
    EXPECT_TRUE(s.isEmpty());
    EXPECT_THROW(s["NMPRODUTO"].setValue("x"), Error);
    s.edit();
    EXPECT_EQ(s.state(), DataSetState::Insert);
    s.cancel();
    EXPECT_TRUE(s.isEmpty());
    s.close();
    EXPECT_FALSE(s.active());
    EXPECT_TRUE(s["NMPRODUTO"].isNull());
    EXPECT_THROW(s.edit(), Error);
}

TEST(RecordSet, AbortInEachBeforeEventLeavesStateAndData) {
    Requests r;
    RecordSet& s = r.set;
    s.next();  // second row current
    const Packet before = s.data();
    auto check = [&](const char* what) {
        EXPECT_EQ(s.state(), DataSetState::Browse) << what;
        EXPECT_EQ(s.recNo(), 2) << what;
        EXPECT_EQ(s.recordCount(), 3) << what;
        EXPECT_EQ(s.data(), before) << what;
        EXPECT_EQ(s.changeCount(), 0) << what;
    };
    auto abort = [](RecordSet&) { throw Abort(); };

    s.beforeInsert.connect(abort);
    EXPECT_THROW(s.append(), Abort);
    EXPECT_THROW(s.insert(), Abort);
    check("beforeInsert");
    s.beforeInsert.disconnectAll();

    s.onNewRecord.connect([](RecordSet& ds) {
        ds["NMPRODUTO"].setValue("Novo");
        throw Error("recusado");
    });
    EXPECT_THROW(s.insert(), Error);
    check("onNewRecord");
    s.onNewRecord.disconnectAll();

    s.beforeEdit.connect(abort);
    EXPECT_THROW(s.edit(), Abort);
    check("beforeEdit");
    s.beforeEdit.disconnectAll();

    s.beforeDelete.connect(abort);
    EXPECT_THROW(s.remove(), Abort);
    check("beforeDelete");
    s.beforeDelete.disconnectAll();

    s.beforeScroll.connect(abort);
    EXPECT_THROW(s.next(), Abort);
    EXPECT_THROW(s.first(), Abort);
    EXPECT_THROW(s.remove(), Abort);
    EXPECT_THROW(s.append(), Abort);
    check("beforeScroll");
    s.beforeScroll.disconnectAll();

    s.beforeClose.connect(abort);
    EXPECT_THROW(s.close(), Abort);
    check("beforeClose");
    s.beforeClose.disconnectAll();

    s.beforeOpen.connect(abort);
    EXPECT_THROW(s.setData(Packet{s.fieldDefs(), {}, {}}), Abort);
    check("beforeOpen");
    s.beforeOpen.disconnectAll();

    // post and cancel refused inside an edit: the edit and its values stay
    s.edit();
    s["NMPRODUTO"].setValue("Mel");
    s.beforePost.connect(abort);
    EXPECT_THROW(s.post(), Abort);
    EXPECT_THROW(s.next(), Abort);  // navigation posts first, so it is refused too
    EXPECT_EQ(s.state(), DataSetState::Edit);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Mel");
    EXPECT_EQ(s.recNo(), 2);
    s.beforeCancel.connect(abort);
    EXPECT_THROW(s.cancel(), Abort);
    EXPECT_EQ(s.state(), DataSetState::Edit);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Mel");
    s.beforeCancel.disconnectAll();
    s.cancel();
    s.beforePost.disconnectAll();
    check("beforePost/beforeCancel");
}

TEST(RecordSet, RefusedValuesChangeNothing) {
    Requests r;
    RecordSet& s = r.set;
    s.edit();
    Field& name = s["NMPRODUTO"];
    Field& qty = s["QTPESO"];
    Field& date = s["DTCAD"];
    int changes = 0;
    name.onChange.connect([&](Field&) { ++changes; });

    name.setValue("Análise");  // 7 characters, 8 bytes
    EXPECT_EQ(name.asString(), "Análise");
    EXPECT_THROW(name.setValue("Análises"), Error);
    EXPECT_THROW(name.setText("Análises"), Error);
    EXPECT_EQ(name.asString(), "Análise");
    EXPECT_EQ(changes, 1);

    EXPECT_THROW(qty.setValue("12"), Error);  // text where a number belongs
    EXPECT_THROW(qty.setValue(Value(Blob{"x"})), Error);
    EXPECT_THROW(qty.setText("12,3,4"), Error);
    EXPECT_THROW(qty.setText("abc"), Error);
    EXPECT_DOUBLE_EQ(qty.asFloat(), 1.5);
    qty.setText("1.234,5");
    EXPECT_DOUBLE_EQ(qty.asFloat(), 1234.5);
    qty.setText("");
    EXPECT_TRUE(qty.isNull());

    const DateTime was = date.asDateTime();
    try {
        date.setText("31/02/2024");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "'31/02/2024' não é uma data válida para DTCAD.");
    }
    EXPECT_THROW(date.setText("01/02/2024 25:00"), Error);
    EXPECT_THROW(date.setText("25:00"), Error);
    EXPECT_EQ(date.asDateTime(), was);
    date.setText("17/05/1850 18:30");
    EXPECT_EQ(date.asDateTime(), DateTime::make(1850, 5, 17, 18, 30));

    // onValidate refusing puts the old value back
    name.onValidate.connect([](Field& f) {
        if (f.asString() == "Ruim") throw Error("Produto recusado.");
    });
    EXPECT_THROW(name.setValue("Ruim"), Error);
    EXPECT_EQ(name.asString(), "Análise");

    s.cancel();
    EXPECT_EQ(s.changeCount(), 0);
    EXPECT_EQ(name.asString(), "Leite");
}

TEST(RecordSet, RequiredFieldsCheckedAtPost) {
    Requests r;
    RecordSet& s = r.set;
    s.append();
    try {
        s.post();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Campo Número deve ser informado.");
    }
    EXPECT_EQ(s.state(), DataSetState::Insert);
    s["NRAUDITORIA"].setValue("9");
    s.post();
    EXPECT_EQ(s.state(), DataSetState::Browse);
}

TEST(RecordSet, DeltaOfEachKindOfChange) {
    Requests r;
    RecordSet& s = r.set;
    // insert then modify: one Insert with the latest values
    s.append();
    s["NRAUDITORIA"].setValue("4");
    s["NMPRODUTO"].setValue("Mel");
    s.post();
    s.edit();
    s["NMPRODUTO"].setValue("Café");
    s.post();
    // modify: values as read and as now
    s.first();
    s.edit();
    s["QTPESO"].setValue(9.0);
    s.post();
    EXPECT_EQ(s["QTPESO"].oldValue(), Value(1.5));
    // modify then delete: Delete with the original values
    s.next();
    s.edit();
    s["NMPRODUTO"].setValue("Sal2");
    s.post();
    s.edit();
    s["NMPRODUTO"].setValue("Sal3");
    s.post();
    s.remove();
    // insert then delete: nothing
    s.append();
    s["NRAUDITORIA"].setValue("5");
    s.post();
    s.remove();

    EXPECT_EQ(s.changeCount(), 3);
    const Packet d = s.delta();
    EXPECT_TRUE(d.fields[0].inKey);
    ASSERT_EQ(d.delta.size(), 3u);
    EXPECT_EQ(d.delta[0].kind, ChangeKind::Insert);
    EXPECT_EQ(d.delta[0].newValues, (std::vector<Value>{Value("4"), Value("Café"), Value(), Value()}));
    EXPECT_EQ(d.delta[1].kind, ChangeKind::Modify);
    EXPECT_EQ(d.delta[1].oldValues[2], Value(1.5));
    EXPECT_EQ(d.delta[1].newValues[2], Value(9.0));
    EXPECT_EQ(d.delta[2].kind, ChangeKind::Delete);
    EXPECT_EQ(d.delta[2].oldValues, (std::vector<Value>{Value("2"), Value("Açúcar"), Value(2.0), Value()}));

    // merge: the changes become the data as read
    s.mergeChangeLog();
    EXPECT_EQ(s.changeCount(), 0);
    EXPECT_TRUE(s.delta().delta.empty());
    EXPECT_EQ(r.names(), "Leite;Sal;Café;");
    s.first();
    EXPECT_EQ(s["QTPESO"].oldValue(), Value(9.0));
    s.cancelUpdates();
    EXPECT_EQ(r.names(), "Leite;Sal;Café;");
}

TEST(RecordSet, CancelUpdatesAfterSeveralPosts) {
    Requests r;
    RecordSet& s = r.set;
    const Packet asRead = s.data();
    s.edit();
    s["NMPRODUTO"].setValue("A");
    s.post();
    s.edit();
    s["NMPRODUTO"].setValue("B");
    s.post();
    s.last();
    s.remove();
    s.first();
    s.insert();
    s["NRAUDITORIA"].setValue("7");
    s.post();
    s.next();
    s.edit();
    s["QTPESO"].setValue(5.0);  // left in edit: cancelUpdates drops it too
    EXPECT_EQ(s.changeCount(), 3);

    s.cancelUpdates();
    EXPECT_EQ(s.state(), DataSetState::Browse);
    EXPECT_EQ(s.changeCount(), 0);
    EXPECT_EQ(s.data(), asRead);
    EXPECT_EQ(r.names(), "Leite;Açúcar;Sal;");
}

TEST(RecordSet, FilterAndCaseInsensitiveLocate) {
    Requests r;
    RecordSet& s = r.set;
    s.setFilter([](const RecordSet& ds) { return !ds.field("QTPESO").isNull(); });
    EXPECT_TRUE(s.filtered());
    EXPECT_EQ(s.recordCount(), 2);
    EXPECT_FALSE(s.locate("NMPRODUTO", Value("sal")));  // filtered out
    EXPECT_TRUE(s.locate({"NMPRODUTO", "NRAUDITORIA"}, {Value("AÇÚCAR"), Value("2")}));
    EXPECT_EQ(s.recNo(), 2);
    EXPECT_FALSE(s.locate({"NMPRODUTO", "NRAUDITORIA"}, {Value("AÇÚCAR"), Value("1")}));
    EXPECT_EQ(s.recNo(), 2);
    EXPECT_FALSE(s.locate("NMPRODUTO", Value("LEITE"), false));
    EXPECT_TRUE(s.locate("QTPESO", Value(1.5)));
    EXPECT_EQ(s.recNo(), 1);

    // a posted row the filter refuses leaves the view
    s.edit();
    s["QTPESO"].clear();
    s.post();
    EXPECT_EQ(s.recordCount(), 1);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Açúcar");
    s.clearFilter();
    EXPECT_EQ(s.recordCount(), 3);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Açúcar");
}

TEST(RecordSet, NullFieldListSetDataAndData) {
    Requests r;
    RecordSet& s = r.set;
    EXPECT_THROW(s.addCalculated("DSCALC", FieldType::String), Error);  // definitions only while closed
    s.last();
    EXPECT_EQ(s.nullFieldList(), "_QTPESO_DTCAD");
    s.first();
    EXPECT_EQ(s.nullFieldList(), "");

    // declared fields matched case-insensitively, extras added, missing stay null
    Packet p;
    p.fields = {
        {"nmproduto", FieldType::String}, {"QTPESO", FieldType::Integer}, {"IDEXTRA", FieldType::String}};
    p.rows = {{Value("Mel"), Value(int64_t{3}), Value("S")}};
    s.setData(p);
    EXPECT_EQ(s.fieldCount(), 5u);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Mel");
    EXPECT_TRUE(s["QTPESO"].value().isFloat());
    EXPECT_EQ(s["idextra"].asString(), "S");
    EXPECT_EQ(s.nullFieldList(), "_NRAUDITORIA_DTCAD");
    EXPECT_EQ(s.changeCount(), 0);
    const Packet d = s.data();
    ASSERT_EQ(d.rows.size(), 1u);
    EXPECT_EQ(d.fields.size(), 5u);
    EXPECT_EQ(d.rows[0][2], Value(3.0));

    // a packet that does not fit the declared types is refused and the set keeps its rows
    Packet bad;
    bad.fields = {{"QTPESO", FieldType::String}};
    bad.rows = {{Value("muito")}};
    EXPECT_THROW(s.setData(bad), Error);
    EXPECT_EQ(s["NMPRODUTO"].asString(), "Mel");

    s.setData(Packet{});
    EXPECT_TRUE(s.active());
    EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(s.recNo(), 0);
}

TEST(RecordSet, CalculatedFieldsTextsAndGrids) {
    RecordSet s("cdsItem");
    s.addField("NMITEM", FieldType::String, 20);
    Field& qty = s.addField("QTPESO", FieldType::Float);
    qty.displayFormat = "#,##0.000";
    qty.editFormat = "###0.000";
    Field& date = s.addField("DTCAD", FieldType::DateTime);
    date.displayFormat = "ddddd hh:nn";
    Field& code = s.addField("CDPROD", FieldType::String, 10);
    code.editMask = "9.99.999;0;_";
    Field& calc = s.addCalculated("QTDOBRO", FieldType::Float);
    int calcs = 0;
    s.onCalcFields.connect([&](RecordSet& ds) {
        ++calcs;
        ds["QTDOBRO"].setValue(ds["QTPESO"].asFloat() * 2);
    });
    EXPECT_THROW(calc.setValue(1.0), Error);  // outside the calculation

    Packet p;
    p.fields = s.fieldDefs();
    EXPECT_EQ(p.fields.size(), 4u);
    const int n = 100000;
    p.rows.reserve(n);
    for (int i = 0; i < n; ++i)
        p.rows.push_back({Value("item " + std::to_string(i)), Value(i * 1000.5),
                          Value(DateTime::make(1890, 1, 1, 8, 30)), Value("102003")});
    s.setData(p);
    EXPECT_EQ(s.recordCount(), n);

    EXPECT_EQ(s.displayTextAt(n - 1, "QTPESO"), "100.048.999,500");
    EXPECT_EQ(s.displayTextAt(2, "DTCAD"), "01/01/1890 08:30");
    EXPECT_EQ(s.displayTextAt(2, "CDPROD"), "1.02.003");
    EXPECT_EQ(s.valueAt(3, "qtdobro"), Value(6003.0));
    EXPECT_EQ(s.valueAt(n, "QTPESO"), Value());
    EXPECT_EQ(s.recNo(), 1);  // painting does not move the current row
    const int afterOne = calcs;
    s.valueAt(3, "QTDOBRO");
    EXPECT_EQ(calcs, afterOne);  // computed once per row

    s.moveTo(2);
    EXPECT_EQ(qty.text(), "1000,500");
    EXPECT_EQ(qty.displayText(), "1.000,500");
    EXPECT_EQ(calc.asFloat(), 2001.0);
    s.edit();
    qty.setText(qty.text());  // the edit text reads back
    EXPECT_DOUBLE_EQ(qty.asFloat(), 1000.5);
    qty.setValue(1.0);
    EXPECT_EQ(calc.asFloat(), 2.0);  // recomputed after the change
    code.setText("1.02.004");
    EXPECT_EQ(code.asString(), "102004");
    s.post();

    qty.onGetText = [](const Field& f, bool display) { return f.asFloat() == 0 ? "" : display ? "D" : "E"; };
    EXPECT_EQ(qty.displayText(), "D");
    EXPECT_EQ(s.displayTextAt(0, "QTPESO"), "");
    EXPECT_THROW(s.displayTextAt(0, "NADA"), Error);

    s.last();
    EXPECT_TRUE(s.eof());
    EXPECT_EQ(s.recNo(), n);
    s.first();
    int walked = 0;
    s.disableControls();
    int scrolls = 0;
    s.afterScroll.connect([&](RecordSet&) { ++scrolls; });
    while (!s.eof()) {
        ++walked;
        s.next();
    }
    s.enableControls();
    EXPECT_EQ(walked, n);
    EXPECT_EQ(scrolls, 0);
}

// The request list declares a calculated name between stored fields: values keep to
// their fields whichever order the packet has, and only stored ones travel back.
TEST(RecordSet, CalculatedFieldBetweenStoredOnes) {
    RecordSet s("cdsAuditoria");
    s.addField(FieldDef{"NRAUDITORIA", FieldType::String, 10, true, true});
    s.addCalculated("DSNOME", FieldType::String, 30);
    s.addField("QTPESO", FieldType::Float);
    s.onCalcFields.connect([](RecordSet& ds) { ds["DSNOME"].setValue("n" + ds["NRAUDITORIA"].asString()); });

    Packet same;  // the stored fields in their order: each row's values are taken whole
    same.fields = s.fieldDefs();
    ASSERT_EQ(same.fields.size(), 2u);
    same.rows = {{Value("1"), Value(int64_t{2})}, {Value("2"), Value()}};
    s.setData(std::move(same));
    EXPECT_EQ(s.valueAt(0, "QTPESO"), Value(2.0));  // converted to the declared type
    EXPECT_EQ(s.valueAt(1, "DSNOME"), Value("n2"));
    EXPECT_EQ(s.data().rows, (std::vector<std::vector<Value>>{{Value("1"), Value(2.0)}, {Value("2"), Value()}}));

    Packet swapped;  // another order and an extra field
    swapped.fields = {{"QTPESO", FieldType::Float}, {"IDEXTRA", FieldType::String}, {"NRAUDITORIA", FieldType::String}};
    swapped.rows = {{Value(7.5), Value("S"), Value("9")}};
    s.setData(swapped);
    EXPECT_EQ(s["NRAUDITORIA"].asString(), "9");
    EXPECT_EQ(s["DSNOME"].asString(), "n9");
    EXPECT_EQ(s["QTPESO"].asFloat(), 7.5);
    EXPECT_EQ(s["IDEXTRA"].asString(), "S");

    s.edit();
    s["NRAUDITORIA"].setValue("10");
    EXPECT_EQ(s["DSNOME"].asString(), "n10");
    EXPECT_EQ(s["NRAUDITORIA"].oldValue(), Value("9"));
    s.cancel();
    EXPECT_EQ(s["DSNOME"].asString(), "n9");
    s.edit();
    s["QTPESO"].setValue(8.0);
    s.post();
    const Packet d = s.delta();
    ASSERT_EQ(d.delta.size(), 1u);
    EXPECT_EQ(d.delta[0].oldValues, (std::vector<Value>{Value("9"), Value(7.5), Value("S")}));
    EXPECT_EQ(d.delta[0].newValues, (std::vector<Value>{Value("9"), Value(8.0), Value("S")}));
    EXPECT_TRUE(s.locate("dsnome", Value("n9")));
    s.append();
    EXPECT_EQ(s.nullFieldList(), "_NRAUDITORIA_QTPESO_IDEXTRA");
    s["NRAUDITORIA"].setValue("11");
    EXPECT_EQ(s["DSNOME"].asString(), "n11");
}

TEST(RecordSet, NavigationInsertPositionAndNotifications) {
    Requests r;
    RecordSet& s = r.set;
    int changes = 0;
    s.onDataChange.connect([&](RecordSet&) { ++changes; });
    bool eofInScroll = false;
    s.afterScroll.connect([&](RecordSet& ds) { eofInScroll = ds.eof(); });

    EXPECT_TRUE(s.bof());
    EXPECT_FALSE(s.eof());
    std::string walked;
    while (!s.eof()) {
        walked += s["NRAUDITORIA"].asString();
        s.next();
    }
    EXPECT_EQ(walked, "123");
    EXPECT_EQ(s.recNo(), 3);
    s.first();
    s.last();
    EXPECT_TRUE(eofInScroll);  // the after-scroll handler sees where the set stands
    walked.clear();
    while (!s.bof()) {
        walked += s["NRAUDITORIA"].asString();
        s.prior();
    }
    EXPECT_EQ(walked, "321");
    s.moveBy(10);
    EXPECT_EQ(s.recNo(), 3);
    EXPECT_TRUE(s.eof());
    s.moveTo(2);
    EXPECT_EQ(s.recNo(), 2);
    EXPECT_GT(changes, 0);

    // insert goes before the current row; its cancel returns to that row
    s.insert();
    EXPECT_EQ(s.recNo(), 2);
    EXPECT_EQ(s.recordCount(), 4);
    EXPECT_TRUE(s["NMPRODUTO"].oldValue().isNull());
    s.cancel();
    EXPECT_EQ(s.recordCount(), 3);
    EXPECT_EQ(s["NRAUDITORIA"].asString(), "2");
    s.first();
    s.append();
    s.cancel();
    EXPECT_EQ(s["NRAUDITORIA"].asString(), "1");
    s.insert();
    s["NRAUDITORIA"].setValue("0");
    s.post();
    EXPECT_EQ(r.names().substr(0, 7), ";Leite;");  // new row first, no name yet

    // oldValue during an edit is the value before it
    s.locate("NRAUDITORIA", Value("2"));
    s.edit();
    s["NMPRODUTO"].setValue("Mel");
    EXPECT_EQ(s["NMPRODUTO"].oldValue(), Value("Açúcar"));
    s.post();

    // disabled controls: no scroll events, no repaint until the end
    int scrolls = 0;
    s.afterScroll.connect([&](RecordSet&) { ++scrolls; });
    changes = 0;
    s.disableControls();
    s.disableControls();
    s.first();
    s.next();
    s.enableControls();
    EXPECT_TRUE(s.controlsDisabled());
    EXPECT_EQ(changes, 0);
    s.enableControls();
    EXPECT_FALSE(s.controlsDisabled());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(scrolls, 0);
}
