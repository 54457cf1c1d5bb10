#include "automation/member_dispatch.h"

#include <gtest/gtest.h>

namespace quelo {
namespace {

TypeLibraryInfo sampleLibrary() {
  TypeLibraryInfo lib;
  MemberInfo m;
  m.name = "Scale";
  m.dispid = 7;
  m.params = {ParamInfo{"Value", ParamType::Long, "Long", true, false, std::nullopt},
              ParamInfo{"Factor", ParamType::Integer, "Integer", false, true, Variant(int32_t{2})},
              ParamInfo{"Label", ParamType::String, "String", false, true, std::nullopt}};
  m.resultType = "String";
  lib.members.push_back(m);
  MemberInfo p;
  p.name = "Name";
  p.kind = MemberKind::Property;
  p.dispid = 8;
  p.params = {ParamInfo{"Name", ParamType::String, "String", false, false, std::nullopt}};
  p.readable = p.writable = true;
  lib.members.push_back(p);
  MemberInfo later;
  later.name = "Later";
  later.dispid = 9;
  lib.members.push_back(later);
  return lib;
}

class MemberDispatchTest : public ::testing::Test {
 protected:
  MemberDispatchTest() : object(&lib) {
    object.bind("Scale", InvokeKind::Method, [this](Args& a) -> Result<Variant> {
      seen = a;
      a[0] = Variant(a[0].asLong() * a[1].asInteger());
      return Variant("done");
    });
    object.bind("Name", InvokeKind::PropertyGet,
                [this](Args&) -> Result<Variant> { return Variant(name); });
    object.bind("Name", InvokeKind::PropertyPut, [this](Args& a) -> Result<Variant> {
      name = a[0].asString();
      return Variant();
    });
  }
  TypeLibraryInfo lib = sampleLibrary();
  MemberDispatch object;
  Args seen;
  std::string name;
};

TEST_F(MemberDispatchTest, NamesWhereItsHandlersAndTheLibraryDisagree) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(object.disagreements(), Names{"Later: declared, not bound"});
  const auto none = [](Args&) -> Result<Variant> { return Variant(); };
  object.bind("Later", InvokeKind::Method, none);
  object.bind("Scale", InvokeKind::PropertyPut, none);
  object.bind("Extra", InvokeKind::Method, none);
  EXPECT_EQ(object.disagreements(),
            (Names{"Scale: bound, not declared", "Extra: bound, not declared"}));
  MemberDispatch readOnly(&lib);
  readOnly.bind("Name", InvokeKind::PropertyGet, none);
  EXPECT_EQ(readOnly.disagreements(), (Names{"Scale: declared, not bound", "Name: put not bound",
                                             "Later: declared, not bound"}));
}

TEST_F(MemberDispatchTest, CoercesFillsDefaultsWritesByRefBackAndFindsPropertiesById) {
  Args args{Variant("21")};
  auto r = object.call("SCALE", args);
  ASSERT_TRUE(r) << r.error().message;
  EXPECT_EQ(r.value(), Variant("done"));
  EXPECT_EQ(args[0], Variant(int32_t{42}));  // coerced to Long and changed for the caller
  EXPECT_EQ(seen[1], Variant(int16_t{2}));   // the declared default, as the declared type
  EXPECT_TRUE(seen[2].isMissing());          // no default: stays missing
  ASSERT_TRUE(object.put("name", Variant(int32_t{5})));  // properties by name and by id
  EXPECT_EQ(name, "5");
  Args none;
  EXPECT_EQ(object.invoke(8, InvokeKind::PropertyGet, none).value(), Variant("5"));
}

TEST_F(MemberDispatchTest, ReportsArgumentErrorsNamingTheArgumentAndTheTypes) {
  const struct {
    const char* member;
    Args args;
    int number;
    const char* message;
  } cases[] = {
      {"Scale",
       {},
       err::kArgumentNotOptional,
       "Argument not optional: argument 1 (Value) of Scale"},
      {"Scale",
       {Variant(1), Variant(1), Variant(""), Variant(1)},
       err::kWrongArgumentCount,
       "Wrong number of arguments or invalid property assignment: Scale takes 3, was given 4"},
      {"Scale",
       {Variant("x")},
       err::kTypeMismatch,
       "Type mismatch: argument 1 (Value) of Scale wants Long, was given String"},
      {"Scale",
       {Variant(1), Variant(int32_t{40000})},
       err::kOverflow,
       "Overflow: argument 2 (Factor) of Scale wants Integer, was given Long"},
      {"Nope", {}, err::kMemberNotFound, "Object doesn't support this property or method: Nope"},
      {"Later", {}, err::kNotImplemented, "Not implemented: Later"},
  };
  for (const auto& c : cases) {
    Args args = c.args;
    auto r = object.call(c.member, args);
    ASSERT_FALSE(r) << c.message;
    EXPECT_EQ(r.error().number, c.number) << c.message;
    EXPECT_EQ(r.error().message, c.message);
    EXPECT_EQ(args, c.args);  // a failed call changes nothing
  }
}

}  // namespace
}  // namespace quelo
