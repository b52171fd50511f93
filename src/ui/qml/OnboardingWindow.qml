import QtQuick
import QtQuick.Window
import Murmo.Ui

// The onboarding window: the breadcrumb, the current step's screen and the footer, at a fixed
// size.
Window {
    id: window

    required property OnboardingView onboarding
    required property size contentSize

    width: contentSize.width
    height: contentSize.height
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    color: onboarding.backgroundColor
    onVisibleChanged: onboarding.model.setShown(visible)

    Breadcrumb {
        id: breadcrumb
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.topMargin: 24
        onboarding: window.onboarding
    }

    Item {
        id: stage
        anchors.top: breadcrumb.bottom
        anchors.bottom: footer.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 72
        anchors.rightMargin: 72

        Loader {
            id: screen
            width: parent.width
            height: parent.height
            sourceComponent: [welcome, source, about, typing, data, perms, micTest, shortcut,
                              languages, learn, hours, nicejob, invite][window.onboarding.step]
            onLoaded: arrival.restart()

            ParallelAnimation {
                id: arrival
                NumberAnimation { target: screen; property: "opacity"; from: 0; to: 1; duration: 320; easing.type: Easing.OutCubic }
                NumberAnimation { target: screen; property: "x"; from: 36; to: 0; duration: 400; easing.type: Easing.OutBack; easing.overshoot: 0.6 }
            }
        }

        // A refused "Continue" shakes the screen sideways.
        SequentialAnimation {
            running: window.onboarding.shake
            NumberAnimation { target: stage; property: "anchors.leftMargin"; to: 82; duration: 50 }
            NumberAnimation { target: stage; property: "anchors.leftMargin"; to: 62; duration: 80 }
            NumberAnimation { target: stage; property: "anchors.leftMargin"; to: 78; duration: 80 }
            NumberAnimation { target: stage; property: "anchors.leftMargin"; to: 66; duration: 80 }
            NumberAnimation { target: stage; property: "anchors.leftMargin"; to: 72; duration: 60 }
        }
    }

    OnboardingFooter {
        id: footer
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        onboarding: window.onboarding
    }

    LanguageSheet {
        anchors.fill: parent
        picker: window.onboarding.languagePicker
        onboarding: window.onboarding
        visible: picker !== null
    }

    Component { id: welcome; WelcomeStep { onboarding: window.onboarding } }
    Component { id: source; ChoiceStep { onboarding: window.onboarding; titleKey: "source.title"; subtitleKey: "source.subtitle"; chips: window.onboarding.sourceChips; onChosen: (label) => window.onboarding.model.chooseSource(label) } }
    Component { id: about; AboutStep { onboarding: window.onboarding } }
    Component { id: typing; TypingStep { onboarding: window.onboarding } }
    Component { id: data; DataStep { onboarding: window.onboarding } }
    Component { id: perms; PermsStep { onboarding: window.onboarding } }
    Component { id: micTest; MicTestStep { onboarding: window.onboarding } }
    Component { id: shortcut; ShortcutStep { onboarding: window.onboarding } }
    Component { id: languages; LanguagesStep { onboarding: window.onboarding } }
    Component { id: learn; LearnStep { onboarding: window.onboarding } }
    Component { id: hours; HoursStep { onboarding: window.onboarding } }
    Component { id: nicejob; NiceJobStep { onboarding: window.onboarding } }
    Component { id: invite; InviteStep { onboarding: window.onboarding } }
}
