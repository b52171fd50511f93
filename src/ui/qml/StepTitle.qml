import QtQuick
import Murmo.Ui

// A screen's title with an optional line under it.
Column {
    id: heading

    required property OnboardingView onboarding
    property string title
    property string subtitle

    spacing: 12

    Text {
        text: heading.title
        font.pixelSize: 40
        font.bold: true
        lineHeight: 1.05
        color: heading.onboarding.textColor
        textFormat: Text.PlainText
    }
    Text {
        visible: heading.subtitle !== ""
        width: Math.min(implicitWidth, 520)
        text: heading.subtitle
        font.pixelSize: 17
        wrapMode: Text.WordWrap
        color: heading.onboarding.secondaryColor
    }
}
