#include "frame/CArchivoraDoc.h"

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CFrameWnd.h"

#include <gtest/gtest.h>

#include <memory>

TEST(CArchivoraDocTest, TheTemplateMakesItByItsRunTimeClassAndNamesItFromTheDocumentString)
{
    const CRuntimeClass* pClass = CRuntimeClass::FromName("CArchivoraDoc");
    ASSERT_EQ(pClass, RUNTIME_CLASS(CArchivoraDoc));
    CMultiDocTemplate docTemplate(128, RUNTIME_CLASS(CArchivoraDoc), RUNTIME_CLASS(CFrameWnd), nullptr);
    CDocument* pDoc = docTemplate.CreateNewDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_TRUE(pDoc->IsKindOf(RUNTIME_CLASS(CArchivoraDoc)));
    EXPECT_EQ(pDoc->GetDocTemplate(), &docTemplate);
    // Nothing to save: closing never asks.
    EXPECT_TRUE(pDoc->SaveModified());
    pDoc->SetTitle("Archiv1");
    EXPECT_EQ(pDoc->GetTitle(), "Archiv1");
    pDoc->OnCloseDocument(); // deletes it, and the template forgets it
    EXPECT_EQ(docTemplate.GetFirstDocPosition(), nullptr);
}
