
VornName:Shells
VornFile:Shells.vrn
StepSize:230
VornsAcross:5
VornsDown:4
TotalVorns:20
VornPlacementMode:0
VornSelectionMode:0

