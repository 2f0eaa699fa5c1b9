#include "buttons/ButtonBar.h"

#include "controls/GlowButton.h"

TButtonBar::TButtonBar(QWidget *parent) : QWidget(parent)
{
    toggle_ = new TGlowButton(this);
    toggle_->setToolTip(QStringLiteral("Toggle between Web Site Buttons"));
    add_ = new TGlowButton(this);
    add_->setText(QStringLiteral("Add"));
    add_->setToolTip(QStringLiteral("Add to Buttons"));
    add_->setEnabled(false);
    connect(toggle_, &TGlowButton::clicked, this, [this] { setVisible(!isVisible()); });
    hide();
}

void TButtonBar::LoadButtonBar() {}
