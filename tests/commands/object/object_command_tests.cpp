// Creating, copying and releasing objects; reading and writing properties by name.
#include <gtest/gtest.h>

#include "object_commands.h"
#include "object_error.h"
#include "object_test_support.h"
#include "probe_class.h"

namespace objtest {
namespace {

using testsupport::CallCommand;
using testsupport::TakeText;

class ObjectCommands : public ::testing::Test {
protected:
    void SetUp() override {
        Start();
        RegisterProbeClass();
    }
    bool Create(ObjectVar &object, const char *className) {
        return CallCommand(cmd::CreateObject, {object.Arg(), Name(className)}).low != 0;
    }
};

TEST_F(ObjectCommands, CreateByProgIdAndByClassText) {
    ObjectVar regexp, probe;
    EXPECT_TRUE(Create(regexp, "VBScript.RegExp"));
    EXPECT_FALSE(regexp.Empty());
    EXPECT_TRUE(Create(probe, kProbeClassText));
    rt::TypedValue name = CallCommand(cmd::ReadTextProperty, {probe.Arg(), Name("Name")});
    EXPECT_EQ(TakeText(name), "probe");
}

TEST_F(ObjectCommands, CreateOfUnknownClassFailsAndLeavesTheObject) {
    ObjectVar object;
    ASSERT_TRUE(Create(object, kProbeClassText));
    IUnknown *before = object.block->object;
    EXPECT_FALSE(Create(object, "No.Such.Class"));
    EXPECT_FALSE(Create(object, "{00000000-1111-2222-3333-444444444444}"));
    EXPECT_FALSE(Create(object, "{not a class id"));
    EXPECT_FALSE(Create(object, ""));
    EXPECT_EQ(object.block->object, before);
}

TEST_F(ObjectCommands, CreateWithAnUnreadableTypeLibraryFallsBackToTheProgId) {
    ObjectVar object;
    rt::TypedValue ok = CallCommand(cmd::CreateObject, {object.Arg(), Name("VBScript.RegExp"), Name("Z:\\no\\such.tlb")});
    EXPECT_EQ(ok.low, 1u);
    EXPECT_FALSE(object.Empty());
}

TEST_F(ObjectCommands, CreateReleasesThePreviousObject) {
    int before = Probes().objects;
    ObjectVar object;
    ASSERT_TRUE(Create(object, kProbeClassText));
    ASSERT_TRUE(Create(object, kProbeClassText));
    EXPECT_EQ(Probes().objects, before + 1);
    CallCommand(cmd::ClearObject, {object.Arg()});
    EXPECT_EQ(Probes().objects, before);
    EXPECT_TRUE(object.Empty());
    EXPECT_EQ(CallCommand(cmd::ObjectIsEmpty, {object.Arg()}).low, 1u);
}

TEST_F(ObjectCommands, CopyObjectSharesTheInterfaceWithOneMoreReference) {
    int before = Probes().objects;
    ObjectVar source;
    ASSERT_TRUE(Create(source, kProbeClassText));
    ObjectVar copy;
    CallCommand(cmd::CopyObject, {copy.Arg(), source.Arg()});
    EXPECT_EQ(copy.block->object, source.block->object);
    EXPECT_EQ(copy.block->record, nullptr);
    CallCommand(cmd::ClearObject, {source.Arg()});
    EXPECT_EQ(Probes().objects, before + 1); // the copy keeps it alive
    EXPECT_EQ(CallCommand(cmd::ObjectIsEmpty, {copy.Arg()}).low, 0u);
    CallCommand(cmd::ClearObject, {copy.Ref()}); // by address works the same
    EXPECT_EQ(Probes().objects, before);
}

TEST_F(ObjectCommands, WritePropertyReportsWhetherTheObjectTookIt) {
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("name"), Name("renamed")}).low, 1u);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
    rt::TypedValue name = CallCommand(cmd::ReadTextProperty, {probe.Arg(), Name("NAME")});
    EXPECT_EQ(TakeText(name), "renamed");
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Colour"), Int(1)}).low, 0u);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
    // A read-only property cannot be written.
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Self"), probe.Arg()}).low, 0u);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
}

TEST_F(ObjectCommands, ReadsOnAnEmptyObjectGiveEmptyValues) {
    ObjectVar empty;
    rt::TypedValue text = CallCommand(cmd::ReadTextProperty, {empty.Arg(), Name("Name")});
    EXPECT_EQ(text.type, rt::kTypeText);
    EXPECT_EQ(text.Pointer<char>(), nullptr);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectEmpty);
    rt::TypedValue number = CallCommand(cmd::ReadNumberProperty, {empty.Arg(), Name("Level")});
    EXPECT_EQ(number.type, rt::kTypeDouble);
    EXPECT_EQ(number.AsDouble(), 0.0);
    ObjectVar object(ObjectOf(CallCommand(cmd::ReadObjectProperty, {empty.Arg(), Name("Self")})));
    ASSERT_NE(object.block, nullptr);
    EXPECT_TRUE(object.Empty());
    VariantVar variant(VariantOf(CallCommand(cmd::ReadProperty, {empty.Arg(), Name("Name")})));
    ASSERT_NE(variant.block, nullptr);
    EXPECT_EQ(variant->vt, VT_EMPTY);
    EXPECT_EQ(CallCommand(cmd::WriteProperty, {empty.Arg(), Name("Name"), Name("x")}).low, 0u);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectEmpty);
}

TEST_F(ObjectCommands, ObjectsWithoutDispatchOrTypeInformationCannotBeDriven) {
    ObjectVar plain(cmd::NewObjectBlock(NewPlainObject()));
    rt::TypedValue r = CallCommand(cmd::ReadTextProperty, {plain.Arg(), Name("Name")});
    EXPECT_EQ(TakeText(r), "");
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoDispatch);
    ObjectVar blind(cmd::NewObjectBlock(NewBlindDispatch()));
    CallCommand(cmd::CallMethod, {blind.Arg(), Name("Anything")});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoTypeInfo);
}

TEST_F(ObjectCommands, ReadPropertyGivesANewVariantEvenOnFailure) {
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    VariantVar missing(VariantOf(CallCommand(cmd::ReadProperty, {probe.Arg(), Name("Missing")})));
    ASSERT_NE(missing.block, nullptr);
    EXPECT_EQ(missing->vt, VT_EMPTY);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectNoMember);
    VariantVar name(VariantOf(CallCommand(cmd::ReadProperty, {probe.Arg(), Name("Name")})));
    EXPECT_EQ(name->vt, VT_BSTR);
    EXPECT_EQ(std::u16string(name->bstrVal), u"probe");
}

TEST_F(ObjectCommands, ObjectResultsAreNewBlocksHoldingOneReference) {
    int before = Probes().objects;
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    {
        ObjectVar self(ObjectOf(CallCommand(cmd::ReadObjectProperty, {probe.Arg(), Name("Self")})));
        EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
        ASSERT_FALSE(self.Empty());
        EXPECT_NE(self.block, probe.block);
        rt::TypedValue same = CallCommand(cmd::CallObjectMethod, {self.Arg(), Name("Self")});
        ObjectVar again(ObjectOf(same));
        rt::TypedValue name = CallCommand(cmd::ReadTextProperty, {again.Arg(), Name("Name")});
        EXPECT_EQ(TakeText(name), "probe");
    }
    CallCommand(cmd::ClearObject, {probe.Arg()});
    EXPECT_EQ(Probes().objects, before); // nothing leaked a reference
}

TEST_F(ObjectCommands, NumbersAndTextsComeBackInTheRequestedType) {
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    EXPECT_EQ(CallCommand(cmd::ReadNumberProperty, {probe.Arg(), Name("Twice"), Dbl(1.25)}).AsDouble(), 2.5);
    rt::TypedValue text = CallCommand(cmd::CallTextMethod, {probe.Arg(), Name("Twice"), Int(21)});
    EXPECT_EQ(TakeText(text), "42");
    CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Name"), U8("中文")});
    rt::TypedValue name = CallCommand(cmd::CallTextMethod, {probe.Arg(), Name("Name")});
    EXPECT_EQ(TakeText(name), rt::ToGbk("中文")); // GBK both ways
    // An empty text crosses as a null string and comes back as the empty text.
    CallCommand(cmd::WriteProperty, {probe.Arg(), Name("Name"), Name("")});
    rt::TypedValue empty = CallCommand(cmd::ReadTextProperty, {probe.Arg(), Name("Name")});
    EXPECT_EQ(empty.Pointer<char>(), nullptr);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOk);
}

TEST_F(ObjectCommands, ResultsThatCannotBeConvertedFailWithMinus8) {
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    rt::TypedValue text = CallCommand(cmd::ReadTextProperty, {probe.Arg(), Name("Items")});
    EXPECT_EQ(TakeText(text), "");
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadResult);
    EXPECT_EQ(CallCommand(cmd::ReadNumberProperty, {probe.Arg(), Name("Nothing")}).AsDouble(), 0.0);
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadResult);
    rt::TypedValue object = CallCommand(cmd::ReadObjectProperty, {probe.Arg(), Name("Name")});
    ObjectVar held(ObjectOf(object));
    EXPECT_TRUE(held.Empty());
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadResult);
}

TEST_F(ObjectCommands, InvokeFailuresMapToTheirCodes) {
    ObjectVar probe;
    ASSERT_TRUE(Create(probe, kProbeClassText));
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Fail")});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectException);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Overflow")});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectOverflow);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Twice"), Name("not a number")});
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectTypeMismatch);
    CallCommand(cmd::CallMethod, {probe.Arg(), Name("Twice")}); // its one parameter is required
    EXPECT_EQ(cmd::LastObjectError(), cmd::kObjectBadParamCount);
}

} // namespace
} // namespace objtest
