#include "common/Recognition9r.h"
#include "common/engSelectRecognizer9r_FM.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

TEST(SelectRecognizer, LayoutAsTheHostExpectsIt)
{
    QWidget host;
    TSelectRecognizerFM *form = TSelectRecognizerFM_Create(&host);
    EXPECT_EQ(SelectRecognizerFM, form);
    EXPECT_EQ(form->windowTitle(), QString("Выбор алгоритма распознавания"));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form->findChild<QComboBox *>("cbSelect"), form->cbSelect);
    EXPECT_FALSE(form->cbSelect->isEditable());
    ASSERT_EQ(form->cbSelect->count(), 2);
    EXPECT_EQ(form->cbSelect->itemText(0), QString("ABBYY PassportReader SDK"));
    EXPECT_EQ(form->cbSelect->itemText(1), QString("Cognitive Scanify API"));
    EXPECT_EQ(form->cbSelect->currentIndex(), 0);
    EXPECT_EQ(form->cxNotShow->text(), QString("Больше не показывать окно выбора"));
    EXPECT_FALSE(form->cxNotShow->isChecked());
    EXPECT_EQ(form->bOK->text(), QString("OK"));
    EXPECT_TRUE(form->bOK->isDefault());
    delete form;
    EXPECT_EQ(SelectRecognizerFM, nullptr) << "a freed dialog must not stay in the form variable";

    // Freed with its owner, too; a dialog that is not the one in the variable leaves it alone.
    auto *owner = new QWidget;
    TSelectRecognizerFM *owned = TSelectRecognizerFM_Create(owner);
    {
        TSelectRecognizerFM other;
    }
    EXPECT_EQ(SelectRecognizerFM, owned);
    delete owner;
    EXPECT_EQ(SelectRecognizerFM, nullptr);
}

TEST(SelectRecognizer, EnterAcceptsTheFirstEngineAndEscapeDoesNotClose)
{
    TSelectRecognizerFM form;
    QTimer::singleShot(0, &form, [&] {
        EXPECT_EQ(form.focusWidget(), form.cbSelect);
        QTest::keyClick(form.cbSelect, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(form.cbSelect, Qt::Key_Return);
    });
    EXPECT_EQ(form.exec(), 1);
    EXPECT_EQ(form.cbSelect->currentIndex(), 0);
    EXPECT_FALSE(form.cxNotShow->isChecked());
}

TEST(SelectRecognizer, OperatorChoiceIsReadBack)
{
    TSelectRecognizerFM form;
    QTimer::singleShot(0, &form, [&] {
        form.cbSelect->setCurrentIndex(1);
        QTest::mouseClick(form.cxNotShow, Qt::LeftButton);
        QTest::mouseClick(form.bOK, Qt::LeftButton);
    });
    EXPECT_EQ(form.exec(), 1);
    EXPECT_EQ(form.cbSelect->currentIndex(), 1);
    EXPECT_TRUE(form.cxNotShow->isChecked());
}
