import QtQuick 2.9
import Solvane 1.0
import "."

// The interlude on the game page: the maps, the two figures, their rays and
// the enemies, all in map coordinates inside `sj`, which the scroll shifts;
// the hint strip above them stays where it is.
Item {
    id: interlude
    objectName: "interlude"

    // Null, missing and 0 all mean "not shown".
    function flag(value) {
        return value !== undefined && value !== null && !!value
    }
    function number(value) {
        return value === undefined || value === null ? 0 : Number(value)
    }

    property string receivedString: ""
    property var receivedArray: []
    property var pointList: []
    readonly property int blockCount: pointList ? pointList.length : 0
    // Enemy items are kept and reused: the pool only grows, so a step that
    // moves enemies, or one that loses a few, creates and destroys nothing.
    property int poolSize: 0
    property int enemyItemsCreated: 0
    property int enemyItemsDestroyed: 0
    readonly property string enemySource: "file:///" + exePath + "/png/difang.png"
    function art(name) { return "file:///" + exePath + "/png/" + name + ".png" }
    // Crouched while they wait, stretched while they leap.
    readonly property string crouchSource: art("difang-1")
    readonly property string leapSource: art("difang-2")
    // After a capture scene the enemies stand still for a moment, blinking.
    readonly property bool enemiesWait: InterludeView.enemiesWaiting
    property bool blinkDim: false
    // 1: the lock lifted, the story goes on at a click; 2: the map won, its door lit.
    readonly property int goal: InterludeView.goal
    readonly property int enemiesToClear: InterludeView.enemiesLeft
    property int nextFlash: 0
    // One step's hits: a flash at every one of them.
    function flashAt(hits) {
        // A page on its way out (left for 设置 or 读取 mid-fight) still hears
        // of hits after its flashes are gone.
        for (var i = 0; i + 1 < hits.length && flashes.count > 0; i += 2) {
            nextFlash = nextFlash % flashes.count
            var flash = flashes.itemAt(nextFlash)
            if (flash)
                flash.show(hits[i], hits[i + 1])
            nextFlash = (nextFlash + 1) % flashes.count
        }
    }
    // The interludes skipped in the settings: the map is scenery, the story goes on.
    // Or this map skipped from the strip's offer, this time only.
    readonly property bool skipped: Settings.interludeMode === 2
                                    || InterludeView.skipTaken
    readonly property bool skipOffered: InterludeView.skipOffered
    // 1 the player, 2 the companion: caught, shown so a moment before the scene.
    readonly property int caught: InterludeView.caught
    property bool showingCapture: false
    // The map the capture happened on, kept in view with it.
    property int heldMap: 0
    onCaughtChanged: {
        if (caught > 0 && shown) {
            heldMap = ditu1.visible ? 1 : ditu2.visible ? 2 : 0
            showingCapture = true
            captureHold.restart()
        }
    }
    readonly property bool shown: flag(typeof sjvisible === "undefined" ? null : sjvisible)
    readonly property bool greatWatcherShot: InterludeView.greatWatcherDown

    onBlockCountChanged: {
        if (blockCount > poolSize)
            poolSize = Math.ceil(blockCount / 64) * 64
    }

    function receive(newArray) {
        rayCanvas1.fadeStep()
        rayCanvas2.fadeStep()
        if (newArray === undefined || newArray === null) {
            console.error("接收到undefined或null值")
            return
        }
        // No enemies left is the usual case outside the interlude: nothing to say.
        if (newArray === "") {
            receivedString = ""
            if (pointList.length > 0)
                pointList = []
            return
        }
        receivedString = newArray
        if (typeof receivedString !== "string" || receivedString.length === 0) {
            console.error("receivedString is not valid")
            return
        }
        var pieces = receivedString.replace(/\s/g, "").split(",")
        var numbers = []
        for (var p = 0; p < pieces.length; ++p) {
            if (pieces[p].length === 0)
                continue
            var n = Number(pieces[p])
            // "Infinity" and "1e400" are numbers to JavaScript, but no place on the map.
            if (!isFinite(n))
                console.warn("无法转换为数字:", pieces[p])
            else
                numbers.push(n)
        }
        receivedArray = numbers
        var points = []
        for (var i = 0; i + 1 < numbers.length; i += 2) {
            var x = numbers[i]
            var y = numbers[i + 1]
            if (typeof x === "number" && typeof y === "number")
                points.push({ x: x, y: y })
            else
                console.warn("Invalid coordinates at index", i, ":", x, y)
        }
        if (numbers.length % 2 === 1)
            console.warn("Incomplete coordinate pair at the end of array")
        pointList = points
    }

    width: 720
    height: 480
    z: 0
    visible: shown || showingCapture

    Timer {
        id: captureHold
        interval: 700
        onTriggered: {
            interlude.showingCapture = false
            interlude.heldMap = 0
        }
    }

    Timer {
        interval: 125
        repeat: true
        running: interlude.enemiesWait && interlude.visible
        onRunningChanged: interlude.blinkDim = false
        onTriggered: interlude.blinkDim = !interlude.blinkDim
    }

    Connections {
        target: Controller
        function onElementArrayChanged(newArray) { interlude.receive(newArray) }
    }

    Connections {
        target: InterludeView
        function onEnemiesHit(at) { interlude.flashAt(at) }
    }

    // A figure: drawn from the side in its 40 x 40 box, facing the way it last
    // went (or fired), with a soft halo in its colour painted once, which every
    // renderer shows (Qt Quick's software renderer draws no Glow).
    component GlowingCircle: Item {
        id: circle
        property color tint
        property string who
        property bool firing: false
        property real aim: 0
        property bool caught: false
        property int facing: 1
        property bool moving: false
        property real stride: 0
        property real lastX: 0
        readonly property int frame: caught ? 5 : firing ? 4 : moving ? 1 + Math.floor(stride / 14) % 3 : 0
        width: 40
        height: 40

        onXChanged: {
            var dx = x - lastX
            lastX = x
            if (Math.abs(dx) < 0.5 || Math.abs(dx) > 60)
                return
            if (!firing)
                facing = dx > 0 ? 1 : -1
            stride += Math.abs(dx)
            moving = true
            still.restart()
        }
        onFiringChanged: if (firing) facing = Math.cos(aim) < 0 ? -1 : 1
        onAimChanged: if (firing) facing = Math.cos(aim) < 0 ? -1 : 1

        Timer { id: still; interval: 120; onTriggered: circle.moving = false }

        Canvas {
            objectName: circle.objectName + "Halo"
            x: -10
            y: -10
            width: 60
            height: 60
            onPaint: {
                var ctx = getContext("2d")
                ctx.reset()
                var c = circle.tint
                var g = ctx.createRadialGradient(30, 30, 0, 30, 30, 30)
                g.addColorStop(0, Qt.rgba(c.r, c.g, c.b, c.a * 0.22))
                g.addColorStop(0.6, Qt.rgba(c.r, c.g, c.b, c.a * 0.7))
                g.addColorStop(0.8, Qt.rgba(c.r, c.g, c.b, c.a * 0.4))
                g.addColorStop(1, Qt.rgba(c.r, c.g, c.b, 0))
                ctx.fillStyle = g
                ctx.fillRect(0, 0, 60, 60)
            }
        }
        // Caught: a red ring pulses round the figure and says so, so that the
        // capture reads before its scene takes the screen.
        Rectangle {
            objectName: circle.objectName + "Caught"
            anchors.centerIn: parent
            width: 54
            height: 54
            radius: 27
            color: "#33ff3b3b"
            border.width: 3
            border.color: "#ff3b3b"
            visible: circle.caught

            SequentialAnimation on scale {
                running: circle.caught
                loops: Animation.Infinite
                NumberAnimation { from: 0.7; to: 1.25; duration: 260; easing.type: Easing.OutQuad }
                NumberAnimation { from: 1.25; to: 0.7; duration: 90 }
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            y: -26
            visible: circle.caught
            text: qsTr("被抓住了！")
            color: "#ffffff"
            style: Text.Outline
            styleColor: "#c0141e"
            font.pixelSize: 14
            font.bold: true
        }
        // All its frames in one strip: a step moves the strip, the picture stays.
        Item {
            objectName: circle.objectName + "Figure"
            anchors.fill: parent
            clip: true
            transform: Scale { origin.x: 20; xScale: circle.facing }

            Picture {
                x: -40 * circle.frame
                width: 240
                height: 40
                source: interlude.art("hd-" + circle.who)
            }
        }
    }

    // A map's door once the map is won: open, with light coming through.
    component GateLight: Rectangle {
        visible: interlude.goal === 2
        border.width: 2
        border.color: "#71e4f9"
        gradient: Gradient {
            GradientStop { position: 0; color: "#ffffff" }
            GradientStop { position: 1; color: "#bff3ff" }
        }

        SequentialAnimation on opacity {
            running: interlude.goal === 2 && interlude.visible
            loops: Animation.Infinite
            NumberAnimation { from: 1; to: 0.6; duration: 600 }
            NumberAnimation { from: 0.6; to: 1; duration: 600 }
        }
    }

    // A ring at a figure's feet in its colour; wider for the player than for
    // the companion, so that even two figures in one place show both.
    component Outline: Rectangle {
        property Item figure
        property real grow: 0
        x: figure.x - grow
        y: figure.y + 33 - grow / 2
        width: 40 + 2 * grow
        height: 10 + grow
        radius: height / 2
        color: "transparent"
        border.width: 3
        border.color: Qt.rgba(figure.tint.r, figure.tint.g, figure.tint.b, 1)
    }

    // A shape of a map drawn as what it is, over the shape itself; loaded
    // only while its map shows.
    component Art: Picture {
        property string name
        property Item map
        anchors.fill: parent
        asynchronous: true
        source: map.visible ? interlude.art(name) : ""
    }

    // A map's walls and floor, in tiles 500 wide. Declared after the shapes,
    // so that the shapes keep their places in the map's list of children,
    // and stacked under them: a negative z would put them under the map's own fill.
    component MapTiles: Row {
        id: tiles
        property Item map
        property int number
        Repeater {
            model: tiles.map.width / 500
            Picture {
                width: 500
                height: 480 - tiles.y
                asynchronous: true
                source: tiles.map.visible ? interlude.art("hd" + tiles.number + "-" + index) : ""
            }
        }
    }

    // A sight ray. The canvas covers the visible view, wherever the map has
    // scrolled, so a ray shows at every x of both maps.
    component Ray: Canvas {
        id: ray
        property real startX: 0
        property real startY: 0
        property real angle: 0
        property real length: 600
        property color tint
        // Shown at once, gone in a short fade. The fade moves with the steps
        // (fadeStep, from the enemy list each step brings): an animation of its
        // own would draw frames between them.
        property bool lit: false
        onLitChanged: if (lit) opacity = 1
        function fadeStep() {
            if (!lit && opacity > 0)
                opacity = Math.max(0, opacity - 0.1)
        }
        Component.onCompleted: opacity = lit ? 1 : 0
        opacity: 0
        visible: opacity > 0

        function repaint() {
            if (visible)
                requestPaint()
        }

        x: -sj.x
        y: 0
        width: 720
        height: 480
        onStartXChanged: repaint()
        onStartYChanged: repaint()
        onAngleChanged: repaint()
        onXChanged: repaint()
        // A ray hidden while its figure moved would show its old position.
        onVisibleChanged: repaint()
        onPaint: {
            var ctx = getContext("2d")
            ctx.clearRect(0, 0, 2 * width, 2 * height)
            var sx = startX - x
            var sy = startY - y
            var ex = sx + Math.cos(angle) * length
            var ey = sy + Math.sin(angle) * length
            var c = tint
            // The glow: one plain wide stroke over the ray's brighter half,
            // cheaper than a second gradient the whole way.
            ctx.beginPath()
            ctx.moveTo(sx, sy)
            ctx.lineTo(sx + (ex - sx) * 0.5, sy + (ey - sy) * 0.5)
            ctx.lineWidth = 7
            ctx.strokeStyle = Qt.rgba(c.r, c.g, c.b, 0.3)
            ctx.stroke()
            var g = ctx.createLinearGradient(sx, sy, ex, ey)
            g.addColorStop(0, "#71e4f9")
            g.addColorStop(0.7, "#8071e4f9")
            g.addColorStop(1, "transparent")
            ctx.beginPath()
            ctx.moveTo(sx, sy)
            ctx.lineTo(ex, ey)
            ctx.lineWidth = 3
            ctx.strokeStyle = g
            ctx.stroke()
        }
    }

    Item {
        id: sj
        objectName: "sj"
        x: interlude.number(typeof sjx === "undefined" ? 0 : sjx)
        y: 0
        width: 720
        height: 480

        Component.onCompleted: console.log(Theme.trace, "组件初始化完成")

        Rectangle {
            id: ditu1
            objectName: "ditu1"
            width: 2000
            height: 480
            color: "#c2c2c2"
            border.width: 0
            visible: interlude.flag(typeof ditu1visible === "undefined" ? null : ditu1visible) || interlude.heldMap === 1

            // The door, then what the game adds to it; the drawn walls last, stacked under them.
            Rectangle {
                objectName: "ditu1Gate"
                z: 1
                x: 1874
                y: 255
                width: 126
                height: 103
                color: "#7d7d7d"

                Rectangle {
                    objectName: "ditu1GateMark"
                    x: -7
                    y: 46
                    width: 5
                    height: 20
                    color: interlude.goal === 2 ? "#3ddc84" : "#f91c1c"
                }
                Art { map: ditu1; name: "hd1-door" }
                GateLight {
                    objectName: "ditu1GateLight"
                    x: 14
                    y: 10
                    width: 98
                    height: 93
                }
            }

            // The hatch beside the door that the story points at: a way back to town.
            Rectangle {
                objectName: "ditu1Hatch"
                z: 1
                x: 1786
                y: 262
                width: 58
                height: 58
                radius: 29
                color: "#9a9a9a"
                border.width: 3
                border.color: "#6e6e6e"

                Art { map: ditu1; name: "hd1-hatch" }
                Rectangle { x: 50; y: -6; width: 7; height: 7; radius: 3.5; color: "#3ddc84" }
                Rectangle { x: 21; y: 58; width: 3; height: 38; color: "#6e6e6e" }
                Rectangle { x: 34; y: 58; width: 3; height: 38; color: "#6e6e6e" }
                Repeater {
                    model: 3
                    Rectangle { x: 21; y: 68 + index * 10; width: 16; height: 2; color: "#6e6e6e" }
                }
            }

            MapTiles { map: ditu1; number: 1 }
        }

        Rectangle {
            id: ditu2
            objectName: "ditu2"
            width: 4000
            height: 480
            color: "#c2c2c2"
            border.width: 0
            visible: interlude.flag(typeof ditu2visible === "undefined" ? null : ditu2visible) || interlude.heldMap === 2

            Rectangle { objectName: "ditu2Shape1"; z: 1; x: 894; y: 64; width: 179; height: 273; color: "#9c9c9a"
                Art { map: ditu2; name: "hd2-pillar" } }
            Rectangle { objectName: "ditu2Shape2"; z: 1; x: 1740; y: 0; width: 862; height: 358; color: "#ccccd0"; border.width: 0
                Art { map: ditu2; name: "hd2-wall" } }
            Rectangle { objectName: "ditu2Shape3"; z: 1; x: 2602; y: 0; width: 865; height: 33; color: "#ccccd0"; border.width: 0
                Art { map: ditu2; name: "hd2-beam" } }
            Rectangle { objectName: "ditu2Shape4"; z: 1; x: 3468; y: 0; width: 532; height: 358; color: "#ccccd0"; border.width: 0
                Art { map: ditu2; name: "hd2-gate" } }
            Rectangle { objectName: "ditu2Shape5"; z: 1; x: 8; y: 237; width: 401; height: 100; color: "#adadac"
                Art { map: ditu2; name: "hd2-console" } }
            Rectangle { objectName: "ditu2Shape6"; z: 1; x: 423; y: 237; width: 401; height: 100; color: "#adadac"
                Art { map: ditu2; name: "hd2-console" } }
            Rectangle { objectName: "ditu2Shape7"; z: 1; x: 848; y: 0; width: 18; height: 480; color: "#b9b9b8"
                Art { map: ditu2; name: "hd2-mast" } }
            Rectangle { objectName: "ditu2Shape8"; z: 1; x: 1147; y: 64; width: 179; height: 273; color: "#9c9c9a"
                Art { map: ditu2; name: "hd2-pillar" } }
            Rectangle { objectName: "ditu2Shape9"; z: 1; x: 1379; y: 246; width: 127; height: 91; color: "#9c9c9a"
                Art { map: ditu2; name: "hd2-platform" } }
            Rectangle { objectName: "ditu2Shape10"; z: 1; x: 3354; y: -72; width: 100; height: 100; color: "#f5f5f4"; radius: 50; border.width: 1
                Art { map: ditu2; name: "hd2-window" } }
            Rectangle { objectName: "ditu2Shape11"; z: 1; x: 3665; y: 241; width: 335; height: 239; color: "#ccccd0"; border.width: 0
                Art { map: ditu2; name: "hd2-lowgate" } }
            Rectangle { objectName: "ditu2Shape12"; z: 1; x: 3149; y: 358; width: 626; height: 408; color: "#c2c2c2"; radius: 142; border.width: 0
                Art { map: ditu2; name: "hd2-basin" } }
            Rectangle { objectName: "ditu2Shape13"; z: 1; x: 3539; y: 358; width: 40; height: 5; color: "#76afc0"; radius: 0; border.width: 0
                Art { map: ditu2; name: "hd2-light" } }
            Rectangle { objectName: "ditu2Shape14"; z: 1; x: 3594; y: 358; width: 40; height: 5; color: "#76afc0"; radius: 0; border.width: 0
                Art { map: ditu2; name: "hd2-light" } }

            // The stars behind the windows scroll at a third of the map's pace:
            // held back by most of the scroll, on the map.
            Item {
                objectName: "ditu2Sky"
                visible: ditu2.visible

                Picture {
                    x: -0.7 * sj.x
                    width: 1704
                    height: 196
                    source: ditu2.visible ? interlude.art("hd2-sky") : ""
                }
                Repeater {
                    model: ditu2.width / 200
                    Picture {
                        x: index * 200
                        width: 14
                        height: 196
                        source: ditu2.visible ? interlude.art("hd2-bar") : ""
                    }
                }
            }

            MapTiles { map: ditu2; number: 2; y: 196 }

            // The very large Watcher before the last gate; both rays at once break its shell.
            Item {
                objectName: "greatWatcher"
                z: 1
                x: InterludeView.greatWatcherX
                y: 232
                width: 92
                height: 118
                opacity: interlude.greatWatcherShot ? 0.55 : 1

                Picture {
                    width: 92
                    height: 118
                    source: ditu2.visible ? interlude.art("hd-great") : ""
                }
                Rectangle {
                    objectName: "greatWatcherEye"
                    x: 50
                    y: 36
                    width: 24
                    height: interlude.greatWatcherShot ? 4 : 20
                    radius: interlude.greatWatcherShot ? 2 : 12
                    color: interlude.greatWatcherShot ? "#5a2a2e" : "#ff2832"
                }
                Rectangle {
                    visible: interlude.greatWatcherShot
                    x: 40
                    y: 4
                    width: 3
                    height: 80
                    rotation: 18
                    color: "#96c8f0"
                }
            }

            GateLight {
                objectName: "ditu2GateLight"
                z: 1
                x: 3900
                y: 200
                width: 100
                height: 158
            }
        }

        Ray {
            id: rayCanvas1
            objectName: "rayCanvas1"
            lit: interlude.flag(typeof fsa1visible === "undefined" ? null : fsa1visible)
            tint: sja1.tint
            startX: sja1.x + 20
            startY: sja1.y + 20
            angle: interlude.number(typeof sja1theta === "undefined" ? 0 : sja1theta)
        }

        Ray {
            id: rayCanvas2
            objectName: "rayCanvas2"
            lit: interlude.flag(typeof fsa2visible === "undefined" ? null : fsa2visible)
            tint: sja2.tint
            startX: sja2.x + 20
            startY: sja2.y + 20
            angle: interlude.number(typeof sja2theta === "undefined" ? 0 : sja2theta)
        }

        GlowingCircle {
            id: sja1
            objectName: "sja1"
            x: interlude.number(typeof sja1x === "undefined" ? 0 : sja1x)
            y: interlude.number(typeof sja1y === "undefined" ? 0 : sja1y)
            tint: "#cc466cf0"
            who: "sorin"
            firing: rayCanvas1.lit
            aim: rayCanvas1.angle
            caught: interlude.showingCapture && interlude.caught === 1
        }

        GlowingCircle {
            id: sja2
            objectName: "sja2"
            x: interlude.number(typeof sja2x === "undefined" ? 0 : sja2x)
            y: interlude.number(typeof sja2y === "undefined" ? 0 : sja2y)
            tint: "#ccff19fc"
            who: "lio"
            firing: rayCanvas2.lit
            aim: rayCanvas2.angle
            caught: interlude.showingCapture && interlude.caught === 2
        }

        // Both outlines above both circles: when the companion runs past the
        // player, or the player walks back through the companion, each circle
        // still shows where it is instead of vanishing under the other.
        Outline {
            objectName: "sja1Ring"
            figure: sja1
            grow: 3
        }

        Outline {
            objectName: "sja2Ring"
            figure: sja2
        }

        Repeater {
            objectName: "enemies"
            model: interlude.poolSize

            Image {
                readonly property var point: index < interlude.pointList.length ? interlude.pointList[index] : null
                property bool leaping: false

                // One handler a step rather than a binding for each of these:
                // with hundreds of enemies the page's share of a step is its bindings.
                onPointChanged: {
                    if (point) {
                        x = point.x
                        y = point.y
                        leaping = point.y < 326
                    }
                    visible = point !== null
                }

                objectName: "enemy"
                width: 20
                height: 20
                visible: false
                opacity: interlude.blinkDim ? 0.2 : 1
                source: leaping ? interlude.leapSource : interlude.enemiesWait ? interlude.crouchSource
                                                                               : interlude.enemySource
                Component.onCompleted: ++interlude.enemyItemsCreated
                Component.onDestruction: ++interlude.enemyItemsDestroyed
            }
        }

        Repeater {
            id: flashes
            model: 6

            Image {
                id: flash

                function show(ex, ey) {
                    x = ex - 8
                    y = ey - 8
                    burst.restart()
                }

                objectName: "hitFlash"
                width: 36
                height: 36
                source: interlude.art("hd-burst")
                sourceSize: Qt.size(72, 72)
                opacity: 0
                visible: opacity > 0

                // Whole for a moment, then fading as it grows: a hit that reads at a glance.
                ParallelAnimation {
                    id: burst
                    SequentialAnimation {
                        PropertyAction { target: flash; property: "opacity"; value: 1 }
                        PauseAnimation { duration: 110 }
                        NumberAnimation { target: flash; property: "opacity"; to: 0; duration: 210 }
                    }
                    NumberAnimation { target: flash; property: "scale"; from: 0.6; to: 1.8; duration: 320; easing.type: Easing.OutQuad }
                    NumberAnimation { target: flash; property: "rotation"; from: 0; to: 40; duration: 320 }
                }
            }
        }
    }

    // The moment before the enemies move again, in the middle of the view:
    // the enemies may stand outside it.
    Text {
        objectName: "readyMark"
        anchors.horizontalCenter: parent.horizontalCenter
        y: 150
        visible: interlude.enemiesWait
        opacity: interlude.blinkDim ? 0.45 : 1
        text: qsTr("准备！")
        color: "#ffffff"
        style: Text.Outline
        styleColor: "#466cf0"
        font.pixelSize: 40
        font.bold: true
    }

    // Dark and nearly opaque, so it reads over the brightest wall of a map.
    Rectangle {
        objectName: "interludeHint"
        x: 0
        y: 0
        width: 720
        height: 42
        color: "#e0121016"

        Rectangle { y: parent.height - 1; width: parent.width; height: 1; color: "#55ffffff" }

        Text {
            objectName: "interludeHintText"
            x: 12
            width: 400
            height: parent.height
            verticalAlignment: Text.AlignVCenter
            color: interlude.goal > 0 || interlude.skipped ? "#7dffb0" : "#ffffff"
            font.pixelSize: 13
            lineHeight: 1.1
            text: interlude.skipped ? qsTr("互动已跳过——点击继续")
                  : interlude.goal > 0 ? qsTr("目标达成——点击继续")
                                       : qsTr("A / D 行走　W 跳跃　S 落地　鼠标瞄准　E 开火\n消灭全部守夜者，跑到最右端")
        }

        // After the second capture in a map: a way past it, taken with a click or Enter.
        Rectangle {
            objectName: "interludeSkipOffer"
            visible: interlude.skipOffered && !interlude.skipped && interlude.goal === 0 && !interlude.enemiesWait
            x: 300
            y: 8
            width: offerText.implicitWidth + 20
            height: 26
            radius: 13
            color: "#ffd27a"

            Text {
                id: offerText
                anchors.centerIn: parent
                text: qsTr("跳过这段互动")
                color: "#2a1e08"
                font.pixelSize: 13
                font.bold: true
            }
            Text {
                anchors.left: parent.right
                anchors.leftMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("点击或回车")
                color: "#ffd27a"
                font.pixelSize: 11
            }
        }

        Text {
            objectName: "interludeTries"
            visible: !interlude.skipped
            anchors.fill: parent
            anchors.rightMargin: 12
            horizontalAlignment: Text.AlignRight
            verticalAlignment: Text.AlignVCenter
            color: "#ffd27a"
            font.pixelSize: 13
            text: qsTr("守夜者 剩余 ") + interlude.enemiesToClear + qsTr("　剩余机会 ") + InterludeView.triesLeft
        }
    }
}
