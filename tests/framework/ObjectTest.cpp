#include "MosaicTest.h"

#include "AfxArchive.h"
#include "AfxObject.h"
#include "AfxString.h"

#include <string.h>

namespace {

class CObjShape;
class CObjCircle;

// Read while the program's statics are being constructed, before the classes below are
// defined in this file: the class records must not depend on any constructor having run.
struct StaticInitProbe
{
    LPCSTR lpszCircleName;
    LPCSTR lpszCircleBase;
    UINT nShapeSchema;
    StaticInitProbe();
} g_probe;

class CObjShape : public CObject
{
    DECLARE_SERIAL(CObjShape)
public:
    CObjShape() {}
};
IMPLEMENT_SERIAL(CObjShape, CObject, 1)

class CObjCircle : public CObjShape
{
    DECLARE_SERIAL(CObjCircle)
public:
    CObjCircle() {}
    int m_nRadius = 7;
};
IMPLEMENT_SERIAL(CObjCircle, CObjShape, 2)

class CObjPlain : public CObject
{
    DECLARE_DYNAMIC(CObjPlain)
public:
    CObjPlain() {}
};
IMPLEMENT_DYNAMIC(CObjPlain, CObject)

class CObjCreatable : public CObject
{
    DECLARE_DYNCREATE(CObjCreatable)
public:
    CObjCreatable() {}
};
IMPLEMENT_DYNCREATE(CObjCreatable, CObject)

// Looked up by name as soon as it is registered, still during static initialisation.
CRuntimeClass* g_pCircleFoundAtInit = CRuntimeClass::FromName("CObjCircle");

StaticInitProbe::StaticInitProbe()
    : lpszCircleName(RUNTIME_CLASS(CObjCircle)->m_lpszClassName),
      lpszCircleBase(RUNTIME_CLASS(CObjCircle)->m_pBaseClass->m_lpszClassName),
      nShapeSchema(RUNTIME_CLASS(CObjShape)->m_wSchema)
{
}

TEST(Object, ClassRecordsAreReadyDuringStaticInitialisation)
{
    EXPECT_STREQ(g_probe.lpszCircleName, "CObjCircle");
    EXPECT_STREQ(g_probe.lpszCircleBase, "CObjShape");
    EXPECT_EQ(g_probe.nShapeSchema, 1u);
    EXPECT_EQ(g_pCircleFoundAtInit, RUNTIME_CLASS(CObjCircle));
}

TEST(Object, RuntimeClassRecordDescribesTheClass)
{
    CRuntimeClass* pClass = RUNTIME_CLASS(CObjCircle);
    EXPECT_STREQ(pClass->m_lpszClassName, "CObjCircle");
    EXPECT_EQ(pClass->m_nObjectSize, (int)sizeof(CObjCircle));
    EXPECT_EQ(pClass->m_wSchema, 2u);
    EXPECT_EQ(pClass->m_pBaseClass, RUNTIME_CLASS(CObjShape));
    EXPECT_EQ(RUNTIME_CLASS(CObjShape)->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObjPlain)->m_wSchema, 0xFFFFu);
}

TEST(Object, IsKindOfFollowsTheHierarchy)
{
    CObjCircle circle;
    CObjShape shape;
    CObjPlain plain;
    const CObject& asObject = circle;

    EXPECT_EQ(asObject.GetRuntimeClass(), RUNTIME_CLASS(CObjCircle));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObjCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObjShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CObjCircle)));
    EXPECT_FALSE(plain.IsKindOf(RUNTIME_CLASS(CObjShape)));
    EXPECT_TRUE(plain.IsKindOf(RUNTIME_CLASS(CObject)));

    EXPECT_TRUE(RUNTIME_CLASS(CObjCircle)->IsDerivedFrom(RUNTIME_CLASS(CObjShape)));
    EXPECT_FALSE(RUNTIME_CLASS(CObjShape)->IsDerivedFrom(RUNTIME_CLASS(CObjCircle)));

    EXPECT_TRUE(circle.IsSerializable());
    EXPECT_FALSE(plain.IsSerializable());
}

TEST(Object, DynamicDownCastChecksTheClass)
{
    CObjCircle circle;
    CObjShape shape;
    CObject* pCircle = &circle;
    CObject* pShape = &shape;
    CObject* pNull = NULL;

    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjShape, pCircle), &circle);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjCircle, pCircle), &circle);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjCircle, pShape), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObjCircle, pNull), nullptr);
    EXPECT_EQ(STATIC_DOWNCAST(CObjCircle, pCircle)->m_nRadius, 7);
}

TEST(Object, FromNameFindsSerialClassesAndCreatesThem)
{
    EXPECT_EQ(CRuntimeClass::FromName("CObjShape"), RUNTIME_CLASS(CObjShape));
    EXPECT_EQ(CRuntimeClass::FromName(L"CObjCircle"), RUNTIME_CLASS(CObjCircle));
    EXPECT_EQ(CRuntimeClass::FromName("CObjCircl"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(L"CObjCircleX"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(L"cobjcircle"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(""), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName((LPCSTR)NULL), nullptr);
    // Only serialisable classes are listed by name.
    EXPECT_EQ(CRuntimeClass::FromName("CObjCreatable"), nullptr);

    CObject* pByName = CRuntimeClass::CreateObject(L"CObjCircle");
    ASSERT_NE(pByName, nullptr);
    EXPECT_EQ(pByName->GetRuntimeClass(), RUNTIME_CLASS(CObjCircle));
    EXPECT_EQ(static_cast<CObjCircle*>(pByName)->m_nRadius, 7);
    delete pByName;
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
}

TEST(Object, CreateObjectNeedsDynamicCreation)
{
    CObject* pCreated = RUNTIME_CLASS(CObjCreatable)->CreateObject();
    ASSERT_NE(pCreated, nullptr);
    EXPECT_TRUE(pCreated->IsKindOf(RUNTIME_CLASS(CObjCreatable)));
    delete pCreated;

    EXPECT_EQ(RUNTIME_CLASS(CObjPlain)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

}  // namespace
