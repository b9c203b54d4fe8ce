
VornName:Bubbles
VornFile:Bubbles.vrn
StepSize:300
VornsAcross:3
VornsDown:3
TotalVorns:9
VornPlacementMode:0
VornSelectionMode:0

