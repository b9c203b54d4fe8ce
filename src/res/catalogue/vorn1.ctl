
VornName:Fern
VornFile:Fern.vrn
StepSize:240
VornsAcross:4
VornsDown:2
TotalVorns:8
VornPlacementMode:0
VornSelectionMode:0

