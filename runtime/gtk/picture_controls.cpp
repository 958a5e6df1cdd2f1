// Picture buttons (a picture, another while the pointer is over them, clicked on release) and
// picture boxes (a background, a picture fitted into the box, and room for other controls).
#include <vector>

#include "runtime/gtk/controls.h"
#include "runtime/gtk/drawing.h"
#include "runtime/gtk/placement_area.h"

namespace kesto::gtk {

namespace {

class PictureButton : public Control {
 public:
  PictureButton(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    for (const ui::Picture& picture : layout.pictures) {
      pictures_.emplace_back(DecodePixbuf(picture.ToBytes()));
    }
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), this);
    TrackHover(area, &hovered_);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnPress), this);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnRelease), this);
    Adopt(area);
  }

 private:
  GdkPixbuf* Shown() const {
    if (hovered_ && pictures_.size() > 1 && pictures_[1]) return pictures_[1].get();
    return pictures_.empty() ? nullptr : pictures_[0].get();
  }

  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, PictureButton* self) {
    PaintScaled(cr, self->Shown(), gtk_widget_get_allocated_width(widget),
                gtk_widget_get_allocated_height(widget));
    return TRUE;
  }

  static gboolean OnPress(GtkWidget*, GdkEventButton* press, PictureButton* self) {
    if (press->button == GDK_BUTTON_PRIMARY && press->type == GDK_BUTTON_PRESS) {
      self->pressed_ = true;
    }
    return TRUE;
  }

  // A click is a press and a release of the left button, both on the button.
  static gboolean OnRelease(GtkWidget* widget, GdkEventButton* release, PictureButton* self) {
    if (release->button != GDK_BUTTON_PRIMARY || !self->pressed_) return TRUE;
    self->pressed_ = false;
    const bool inside = release->x >= 0 && release->y >= 0 &&
                        release->x < gtk_widget_get_allocated_width(widget) &&
                        release->y < gtk_widget_get_allocated_height(widget);
    if (inside) {
      auto keep = self->Hold();
      self->Fire(ui::Event::kClicked);
    }
    return TRUE;
  }

  std::vector<Pixbuf> pictures_;
  bool hovered_ = false;
  bool pressed_ = false;
};

class PictureBox : public Control {
 public:
  PictureBox(LoadedWindow& window, const ui::ControlLayout& layout) : Control(window, layout) {
    if (!layout.pictures.empty()) picture_.reset(DecodePixbuf(layout.pictures[0].ToBytes()));
    // A window of its own clips the controls that reach beyond the box.
    GtkWidget* box = NewPlacementArea();
    g_signal_connect(box, "draw", G_CALLBACK(OnDraw), this);
    DragWindowFrom(box, window);
    Adopt(box);
  }

  GtkWidget* ChildArea(int) override { return widget(); }

 private:
  // The background, then the picture scaled to fit inside the box, centred.
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, PictureBox* self) {
    const int width = gtk_widget_get_allocated_width(widget);
    const int height = gtk_widget_get_allocated_height(widget);
    if (self->layout().backColour != ui::kDefaultColour) {
      PaintColour(cr, self->layout().backColour, width, height);
    }
    if (GdkPixbuf* picture = self->picture_.get()) {
      const double scale = std::min(double(width) / gdk_pixbuf_get_width(picture),
                                    double(height) / gdk_pixbuf_get_height(picture));
      const int w = int(gdk_pixbuf_get_width(picture) * scale);
      const int h = int(gdk_pixbuf_get_height(picture) * scale);
      cairo_save(cr);
      cairo_translate(cr, (width - w) / 2, (height - h) / 2);
      PaintScaled(cr, picture, w, h);
      cairo_restore(cr);
    }
    return FALSE;  // the children are drawn on top
  }

  Pixbuf picture_;
};

}  // namespace

}  // namespace kesto::gtk

namespace kesto::front {

std::unique_ptr<Control> MakePictureButton(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::PictureButton>(static_cast<gtk::LoadedWindow&>(window), layout);
}

std::unique_ptr<Control> MakePictureBox(LoadedWindow& window, const ui::ControlLayout& layout) {
  return std::make_unique<gtk::PictureBox>(static_cast<gtk::LoadedWindow&>(window), layout);
}

}  // namespace kesto::front
