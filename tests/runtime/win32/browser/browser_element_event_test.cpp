// Document events turned into the handler's call and its answer into the page's returnValue,
// with stand-ins for the page's event object and element.
#include <gtest/gtest.h>

#include <string>

#include "fake_page_object.h"
#include "runtime/win32/toolkit/browser/document_events.h"
#include "runtime/win32/toolkit/browser/element_event.h"

namespace kesto::win32 {
namespace {

using testing::FakePageObject;

constexpr char kPage[] = "http://shop.example/app";

// What the handler was given, and what it answers.
struct Handler {
  ui::EventResult answer;
  int calls = 0;
  int type = 0;
  Text id;
  Text name;
  Text page;

  ElementEventSink Sink() {
    return [this](int eventType, const ui::Object& event, const Text& pageAddress) {
      ++calls;
      type = eventType;
      ui::Object element = ui::ObjectReadObject(event, "srcElement");
      id = ui::ObjectReadText(element, "ID");
      name = ui::ObjectReadText(element, "name");
      page = pageAddress;
      return answer;
    };
  }
};

class ElementEvent : public ::testing::Test {
 protected:
  void SetUp() override { event_.SetObject(L"srcElement", &element_); }

  bool ReturnValueWasSetFalse() {
    const VARIANT& value = event_.Property(L"returnValue");
    return value.vt == VT_BOOL && value.boolVal == VARIANT_FALSE;
  }

  FakePageObject element_;
  FakePageObject event_;
  Handler handler_;
};

TEST_F(ElementEvent, HandlerGetsTheElementsIdAndNameAndOnlyFalseCancels) {
  element_.SetText(L"id", L"shopkeeper");
  element_.SetAttribute(L"name", L"qmz");

  EXPECT_FALSE(DeliverElementEvent(&event_, ui::kEventMouseMove, kPage, handler_.Sink()));
  EXPECT_EQ(handler_.calls, 1);
  EXPECT_EQ(handler_.type, ui::kEventMouseMove);
  EXPECT_EQ(handler_.id, "shopkeeper");
  EXPECT_EQ(handler_.name, "qmz");
  EXPECT_EQ(handler_.page, kPage);
  EXPECT_EQ(event_.Property(L"returnValue").vt, VT_EMPTY);

  handler_.answer = true;
  EXPECT_FALSE(DeliverElementEvent(&event_, ui::kEventWheel, kPage, handler_.Sink()));
  EXPECT_EQ(event_.Property(L"returnValue").vt, VT_EMPTY);

  handler_.answer = false;
  EXPECT_TRUE(DeliverElementEvent(&event_, ui::kEventClick, kPage, handler_.Sink()));
  EXPECT_EQ(handler_.type, ui::kEventClick);
  EXPECT_TRUE(ReturnValueWasSetFalse());
  EXPECT_EQ(handler_.calls, 3);
}

TEST_F(ElementEvent, MissingElementOrAttributesGiveEmptyTexts) {
  // An element without ID and name attributes.
  EXPECT_FALSE(DeliverElementEvent(&event_, ui::kEventClick, kPage, handler_.Sink()));
  EXPECT_EQ(handler_.calls, 1);
  EXPECT_EQ(handler_.id, "");
  EXPECT_EQ(handler_.name, "");

  // An event without an element.
  FakePageObject bare;
  EXPECT_FALSE(DeliverElementEvent(&bare, ui::kEventClick, kPage, handler_.Sink()));
  EXPECT_EQ(handler_.calls, 2);
  EXPECT_EQ(handler_.id, "");

  // No event object, or no handler: nothing is called and nothing is cancelled.
  EXPECT_FALSE(DeliverElementEvent(nullptr, ui::kEventClick, kPage, handler_.Sink()));
  EXPECT_FALSE(DeliverElementEvent(&event_, ui::kEventClick, kPage, nullptr));
  EXPECT_EQ(handler_.calls, 2);
}

TEST_F(ElementEvent, HostileIdsAndNamesBecomeShortDefinedGbkTexts) {
  element_.SetText(L"id", std::wstring(100000, L'a'));
  element_.SetAttribute(L"name", std::wstring(L"q\0m\x01z\x7f", 6));
  DeliverElementEvent(&event_, ui::kEventClick, kPage, handler_.Sink());
  EXPECT_EQ(handler_.id, Text(256, 'a'));
  EXPECT_EQ(handler_.name, "q?m?z?");

  // Lone surrogates, a pair, and text GBK holds.
  element_.SetText(L"id", L"\xD800x\xDC00\xD83D\xDE00\x4E2D\x6587");
  element_.SetAttribute(L"name", L"\xDBFF");
  DeliverElementEvent(&event_, ui::kEventClick, kPage, handler_.Sink());
  EXPECT_EQ(handler_.id, "?x??\xD6\xD0\xCE\xC4");
  EXPECT_EQ(handler_.name, "?");
}

TEST_F(ElementEvent, EveryReferenceTakenOnThePageObjectsIsGivenBack) {
  element_.SetText(L"id", L"a");
  handler_.answer = false;
  ULONG eventBefore = event_.References();
  ULONG elementBefore = element_.References();
  DeliverElementEvent(&event_, ui::kEventClick, kPage, handler_.Sink());
  EXPECT_EQ(event_.References(), eventBefore);
  EXPECT_EQ(element_.References(), elementBefore);
}

// The sink the document calls: the three events the panels follow, answered in the result too.
class DocumentEvents : public ElementEvent {
 protected:
  void SetUp() override {
    ElementEvent::SetUp();
    sink_ = new DocumentEventSink(handler_.Sink(), [this] { return page_; });
  }
  void TearDown() override { sink_->Release(); }

  VARIANT Fire(DISPID id) {
    VARIANT argument;
    argument.vt = VT_DISPATCH;
    argument.pdispVal = &event_;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(sink_->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              S_OK);
    return result;
  }

  DocumentEventSink* sink_ = nullptr;
  Text page_ = "http://shop.example/csapp";
};

TEST_F(DocumentEvents, ClickMouseMoveAndWheelReachTheHandlerOthersDoNot) {
  handler_.answer = false;
  VARIANT result = Fire(-600);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_FALSE);
  EXPECT_TRUE(ReturnValueWasSetFalse());

  handler_.answer = std::nullopt;
  result = Fire(1033);
  EXPECT_EQ(result.vt, VT_BOOL);
  EXPECT_EQ(result.boolVal, VARIANT_TRUE);
  Fire(-606);
  EXPECT_EQ(handler_.calls, 3);
  EXPECT_EQ(handler_.type, -606);
  // Each event carries the address the document has at that moment.
  EXPECT_EQ(handler_.page, "http://shop.example/csapp");
  page_ = "http://elsewhere.example/";
  Fire(-600);
  EXPECT_EQ(handler_.page, "http://elsewhere.example/");
  EXPECT_EQ(handler_.calls, 4);

  Fire(-601);  // A double click is not followed.
  Fire(-602);
  EXPECT_EQ(handler_.calls, 4);

  sink_->Detach();
  Fire(-600);
  EXPECT_EQ(handler_.calls, 4);
}

}  // namespace
}  // namespace kesto::win32
