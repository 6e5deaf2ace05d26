#pragma once
// A MeterView that passes every call on to another view chosen later. It lets the Context
// (which holds a MeterView&) be built before the display that needs the Context exists.
// Calls made before a target is set draw nothing; the 12-hour clock's hour is left as is.
#include "core/MeterView.h"

namespace zk {

class ForwardingView : public MeterView {
 public:
  void SetTarget(MeterView* target) { target_ = target; }

  void Draw_Panel() override {
    if (target_) target_->Draw_Panel();
  }
  void Draw_Needle(int32_t p) override {
    if (target_) target_->Draw_Needle(p);
  }
  void Remove_Needle() override {
    if (target_) target_->Remove_Needle();
  }
  void Update_LED(int32_t color) override {
    if (target_) target_->Update_LED(color);
  }
  void Update_ModeDisplay() override {
    if (target_) target_->Update_ModeDisplay();
  }
  void Update_BaseDisplay(const std::string& text) override {
    if (target_) target_->Update_BaseDisplay(text);
  }
  void Update_BdDisplay(const std::string& text) override {
    if (target_) target_->Update_BdDisplay(text);
  }
  void Update_SensKnob() override {
    if (target_) target_->Update_SensKnob();
  }
  void Update_Graph(int32_t raw) override {
    if (target_) target_->Update_Graph(raw);
  }
  void Update_Clock(int16_t& hour, int16_t& minute, int16_t& second, int32_t dateSerial) override {
    if (target_) target_->Update_Clock(hour, minute, second, dateSerial);
  }
  void Hold_Repaints() override {
    if (target_) target_->Hold_Repaints();
  }
  void Show_Held() override {
    if (target_) target_->Show_Held();
  }

 private:
  MeterView* target_ = nullptr;
};

}  // namespace zk
