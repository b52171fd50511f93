import QtQuick
import Murmo.Ui

// "Back" on the left, the step's main button (or "Skip") on the right.
Item {
    id: footer

    required property OnboardingView onboarding

    height: 96

    Rectangle {
        anchors.top: parent.top
        width: parent.width
        height: 1
        color: footer.onboarding.lineColor
    }

    PlainButton {
        anchors.left: parent.left
        anchors.leftMargin: 72
        anchors.verticalCenter: parent.verticalCenter
        opacity: footer.onboarding.backVisible ? 1 : 0
        enabled: footer.onboarding.backVisible
        text: footer.onboarding.copy["footer.back"]
        leadingSymbol: "chevron.left"
        textColor: footer.onboarding.secondaryColor
        onClicked: footer.onboarding.model.goBack()
    }

    PlainButton {
        anchors.right: parent.right
        anchors.rightMargin: 72
        anchors.verticalCenter: parent.verticalCenter
        visible: footer.onboarding.skipShown
        text: footer.onboarding.copy["footer.skip"]
        trailingSymbol: "chevron.right"
        textColor: footer.onboarding.secondaryColor
        onClicked: footer.onboarding.model.skipLearning()
    }

    AccentButton {
        objectName: "mainButton"
        anchors.right: parent.right
        anchors.rightMargin: 72
        anchors.verticalCenter: parent.verticalCenter
        visible: !footer.onboarding.skipShown
        onboarding: footer.onboarding
        text: footer.onboarding.ctaTitle
        trailingSymbol: footer.onboarding.ctaArrow ? "arrow.right" : ""
        opacity: footer.onboarding.ctaDimmed ? 0.45 : 1
        onClicked: footer.onboarding.model.advance()
    }
}
