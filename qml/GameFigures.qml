import QtQuick 2.9
import "."

// The staged figures of the game page: five layouts, one shown at a time.
Item {
    objectName: "figures"
    z: -4
    width: 720
    height: 480

    component Figure: Picture {
        y: 45
        width: 280
        height: 490
        fillMode: Image.PreserveAspectFit
        cache: false
    }

    Item {
        objectName: "singleGroup"
        width: 720
        height: 480
        visible: typeof a1visible !== "undefined" && !!a1visible

        Figure {
            objectName: "figure1"
            x: 220
            source: Theme.png(typeof a1Path === "undefined" ? "" : a1Path)
        }
    }

    Item {
        objectName: "singleLeftGroup"
        width: 720
        height: 480
        visible: typeof a1fvisible !== "undefined" && !!a1fvisible

        Figure {
            objectName: "figure1f"
            x: -60
            source: Theme.png(typeof a1fPath === "undefined" ? "" : a1fPath)
        }
    }

    Item {
        objectName: "pairGroup"
        width: 720
        height: 480
        visible: typeof a2visible !== "undefined" && !!a2visible

        Figure {
            objectName: "pair1"
            x: 4
            source: Theme.png(typeof a2_1Path === "undefined" ? "" : a2_1Path)
        }
        Figure {
            objectName: "pair2"
            x: 436
            source: Theme.png(typeof a2_2Path === "undefined" ? "" : a2_2Path)
        }
    }

    Item {
        objectName: "trioGroup"
        width: 720
        height: 480
        visible: typeof a3visible !== "undefined" && !!a3visible

        Figure {
            objectName: "trio1_1"
            x: -60
            source: Theme.png(typeof a3_1Path === "undefined" ? "" : a3_1Path)
        }
        Figure {
            objectName: "trio1_2"
            x: 130
            source: Theme.png(typeof a3_2Path === "undefined" ? "" : a3_2Path)
        }
        Figure {
            objectName: "trio1_3"
            x: 452
            source: Theme.png(typeof a3_3Path === "undefined" ? "" : a3_3Path)
        }
    }

    Item {
        objectName: "trioLeftGroup"
        width: 720
        height: 480
        visible: typeof a3fvisible !== "undefined" && !!a3fvisible

        Figure {
            objectName: "trio2_1"
            x: -60
            source: Theme.png(typeof a3_1fPath === "undefined" ? "" : a3_1fPath)
        }
        Figure {
            objectName: "trio2_2"
            x: 321
            // Its slot nearly meets the third one: standing further back keeps three people apart.
            transform: Scale { origin.x: 20; origin.y: 140; xScale: 0.82; yScale: 0.82 }
            source: Theme.png(typeof a3_2fPath === "undefined" ? "" : a3_2fPath)
        }
        Figure {
            objectName: "trio2_3"
            x: 452
            source: Theme.png(typeof a3_3fPath === "undefined" ? "" : a3_3fPath)
        }
    }

}
